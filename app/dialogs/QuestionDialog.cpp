#include "QuestionDialog.h"

#include "IDialogs.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace lumidrax {

QuestionDialog::QuestionDialog(Kind kind, const QString& caption, const QString& text, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), kind_(kind),
      answer_(kind == Kind::Message ? 1 : (kind == Kind::YesNoCancel ? kAnswerCancel : kAnswerNo))
{
    setWindowTitle(caption);
    setModal(true);

    auto* label = new QLabel(text, this);
    label->setObjectName("lbl_text");
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);

    auto* textRow = new QHBoxLayout;
    if (kind == Kind::Message) {
        auto* icon = new QLabel(this);
        icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
        icon->setAlignment(Qt::AlignCenter);
        textRow->addWidget(icon);
    }
    textRow->addWidget(label, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto addButton = [&](const QString& title, int result, bool isDefault) {
        auto* button = new QPushButton(title, this);
        button->setDefault(isDefault);
        button->setAutoDefault(isDefault);
        connect(button, &QPushButton::clicked, this, [this, result] {
            answer_ = result;
            done(result);
        });
        buttons->addWidget(button);
    };
    if (kind == Kind::Message) {
        addButton(tr("Thank you"), 1, true);
    } else {
        addButton(tr("&Yes"), kAnswerYes, true);
        addButton(tr("&No"), kAnswerNo, false);
        if (kind == Kind::YesNoCancel)
            addButton(tr("&Cancel"), kAnswerCancel, false);
    }
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(textRow, 1);
    layout->addLayout(buttons);

    setFixedSize(380, 150);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

int QuestionDialog::Ask()
{
    const int beeps = kind_ == Kind::Message ? 3 : 1;
    for (int b = 0; b < beeps; ++b)
        QApplication::beep();
    exec();
    return answer_;
}

} // namespace lumidrax
