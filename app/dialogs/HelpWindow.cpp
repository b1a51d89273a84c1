#include "HelpWindow.h"

#include "FrameFit.h"
#include "ProgramInfo.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace lumidrax {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("frm_help");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Lumidrax Help");
    resize(987, 675);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QToolBar(this);
    const auto makeButton = [&](const char* name, QStyle::StandardPixmap icon, const QString& tip) {
        auto* b = new QToolButton(bar);
        b->setObjectName(name);
        b->setAutoRaise(true);
        b->setIcon(style()->standardIcon(icon));
        b->setToolTip(tip);
        bar->addWidget(b);
        return b;
    };
    prev_ = makeButton("sb_help_prev", QStyle::SP_ArrowBack, "Back");
    next_ = makeButton("sb_help_next", QStyle::SP_ArrowForward, "Forward");
    exit_ = makeButton("sb_help_exit", QStyle::SP_DialogCloseButton, "Close");
    layout->addWidget(bar);

    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(true);
    layout->addWidget(browser_, 1);

    // Back and forward without history do nothing.
    connect(prev_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(next_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(exit_, &QToolButton::clicked, this, &QWidget::close);
}

void HelpWindow::OpenDocument(const QString& path)
{
    if (!QFileInfo::exists(path)) {
        browser_->setHtml("<h2>Lumidrax Help</h2><p>The help document <b>" + path.toHtmlEscaped() +
                          "</b> was not found.</p>");
        return;
    }
    browser_->setSource(QUrl::fromLocalFile(path));
}

QString HelpWindow::HelpDocumentPath()
{
    return QString::fromStdString(
        FindHelpDocument(QCoreApplication::applicationDirPath().toStdString(),
                         [](const std::string& p) { return QFileInfo::exists(QString::fromStdString(p)); }));
}

HelpWindow* HelpWindow::ShowHelp(QWidget* parent)
{
    auto* w = new HelpWindow(parent);
    w->OpenDocument(HelpDocumentPath());
    w->show();
    // A small screen gets the whole window, title bar included.
    FrameFit::KeepOnScreen(w);
    return w;
}

} // namespace lumidrax
