#pragma once
// "Test Report": the header of the report (job, customer, site, cable,
// operator, date, instrument, serial number; an empty date, instrument or
// serial number takes the chart's own), the limit template, the baseline
// (a chart of the collection or none), the charts reported (the active
// chart or the selected ones) and where it goes (a PDF file or the
// printer). OK reads the template first: a template that cannot be used
// keeps the dialog open with the message, which names the line.
//
// The dialog knows the charts by their ids only: while it is open, charts
// keep arriving and closing.

#include "LimitTemplate.h"
#include "ReportHeader.h"
#include "TJednoMereni.h"

#include <QDialog>

#include <string>
#include <utility>
#include <vector>

class QButtonGroup;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace lumidrax {

class IDialogs;

struct TestReportChoice {
    ReportHeader Header;
    std::string Template;
    // The template as OK read it.
    LimitTemplate Limits;
    ChartId Baseline = 0;
    // The selected charts instead of the active one.
    bool Selected = false;
    bool ToPrinter = false;
    std::string Output;
};

class TestReportDialog : public QDialog {
    Q_OBJECT
  public:
    // `baselines`: every chart that can be the baseline (id, caption);
    // `selectedCount`: how many charts are selected in the chart list.
    TestReportDialog(const TestReportChoice& initial,
                     const std::vector<std::pair<ChartId, std::string>>& baselines, int selectedCount,
                     IDialogs& dialogs, QWidget* parent = nullptr);

    TestReportChoice Choice() const { return choice_; }

    QLineEdit* HeaderEdit(std::size_t field) const { return header_[field]; }
    QLineEdit* TemplateEdit() const { return template_; }
    QLineEdit* OutputEdit() const { return output_; }
    QComboBox* BaselineBox() const { return baseline_; }
    QRadioButton* SelectedButton() const { return selected_; }
    QRadioButton* PrinterButton() const { return printer_; }
    // Why OK did not close the dialog; empty before.
    QLabel* ProblemLabel() const { return problem_; }

    void accept() override;

  private:
    // A row of `form` with a file's path (e_report_<name>) and a
    // "Browse..." button (b_report_<name>) that runs `browse`. The path's
    // field.
    QLineEdit* AddPathRow(QFormLayout* form, const QString& label, const std::string& path, const char* name,
                          void (TestReportDialog::*browse)());
    void BrowseTemplate();
    void BrowseOutput();

    IDialogs& dialogs_;
    TestReportChoice choice_;
    QLineEdit* header_[kReportHeaderFields] = {};
    QLineEdit* template_;
    QLineEdit* output_;
    QComboBox* baseline_;
    QRadioButton* active_;
    QRadioButton* selected_;
    QRadioButton* pdf_;
    QRadioButton* printer_;
    QLabel* problem_;
};

} // namespace lumidrax
