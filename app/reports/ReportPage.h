#pragma once
// The "Report" page: the list of open reports (lb_reports) and the text of
// the selected one (m_report), side by side with a splitter between them.
// The page only shows; ReportCommands fills it and handles its commands.

#include <QWidget>

class QFont;
class QListWidget;
class QPlainTextEdit;
class QSplitter;

namespace lumidrax {

class ReportPage : public QWidget {
    Q_OBJECT
  public:
    explicit ReportPage(QWidget* parent = nullptr);

    QListWidget* ReportList() const { return lb_reports_; }
    QPlainTextEdit* Memo() const { return m_report_; }
    QSplitter* Splitter() const { return splitter_; }

    // Width of the report list in pixels; the memo takes the rest.
    int ListWidth() const { return listWidth_; }
    void SetListWidth(int width);
    // The report font of the list and the memo.
    void SetReportFont(const QFont& font);

  protected:
    void resizeEvent(QResizeEvent* e) override;

  private:
    QSplitter* splitter_;
    QListWidget* lb_reports_;
    QPlainTextEdit* m_report_;
    int listWidth_ = 200;
};

} // namespace lumidrax
