#include "DescriptionEditor.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumidrax {

DescriptionEditor::DescriptionEditor(QWidget* parent) : QDialog(parent)
{
    setObjectName("Frm_EdDesc");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint);

    edit_ = new QPlainTextEdit(this);
    edit_->setObjectName("m_edit");
    edit_->setFrameShape(QFrame::NoFrame);
    edit_->setTabChangesFocus(true);
    edit_->installEventFilter(this);
    connect(edit_, &QPlainTextEdit::textChanged, this, [this] { modified_ = true; });

    ok_ = new QPushButton("&OK", this);
    ok_->setDefault(true);
    cancel_ = new QPushButton("&Cancel", this);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edit_, 1);
    layout->addLayout(buttons);
    setFixedSize(405, 134);
    modified_ = false;
}

void DescriptionEditor::SetText(const QString& text)
{
    edit_->setPlainText(text);
    edit_->moveCursor(QTextCursor::End);
    modified_ = false;
}

QString DescriptionEditor::Text() const
{
    QString text = edit_->toPlainText();
    for (QChar& c : text)
        if (c == QChar('\n') || c == QChar('\r') || c == QChar::ParagraphSeparator ||
            c == QChar::LineSeparator)
            c = QChar(' ');
    return text;
}

void DescriptionEditor::SetColours(const QColor& background, const QColor& text)
{
    QPalette pal = edit_->palette();
    pal.setColor(QPalette::Base, background);
    pal.setColor(QPalette::Text, text);
    edit_->setPalette(pal);
}

bool DescriptionEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            ok_->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

std::optional<QString> DescriptionEditor::EditDescription(QWidget* parent, const QString& caption,
                                                          const QString& text, const QColor& background,
                                                          const QColor& textColour)
{
    DescriptionEditor editor(parent);
    editor.SetCaption(caption);
    editor.SetText(text);
    editor.SetColours(background, textColour);
    if (editor.exec() != QDialog::Accepted)
        return std::nullopt;
    return editor.Text();
}

} // namespace lumidrax
