#pragma once
// The help window (frm_help): the user manual in an HTML view with back,
// forward and close buttons. Not modal; each request opens another window,
// which deletes itself when closed.

#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace lumidrax {

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows a document (full path). A missing document shows a page that
    // names the path instead.
    void OpenDocument(const QString& path);

    // Creates a help window on the program's help document and shows it
    // (mi_help_contensClick, F1).
    static HelpWindow* ShowHelp(QWidget* parent = nullptr);
    // The program's help document (below the program's folder).
    static QString HelpDocumentPath();

    QTextBrowser* Browser() const { return browser_; }

  private:
    QTextBrowser* browser_ = nullptr;
    QToolButton* prev_ = nullptr;
    QToolButton* next_ = nullptr;
    QToolButton* exit_ = nullptr;
};

} // namespace lumidrax
