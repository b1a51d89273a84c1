#pragma once
// The "Report" page: the list of open reports and the text of the selected
// one.

#include <QWidget>

class QListWidget;
class QPlainTextEdit;

namespace lumidrax {

class ReportPage : public QWidget {
    Q_OBJECT
  public:
    explicit ReportPage(QWidget* parent = nullptr);

    QListWidget* ReportList() const { return lb_reports_; }
    QPlainTextEdit* Memo() const { return m_report_; }

    // True when an open report has unsaved changes.
    bool AnyUnsaved() const { return false; }

  private:
    QListWidget* lb_reports_;
    QPlainTextEdit* m_report_;
};

} // namespace lumidrax
