#include "TestReportDialog.h"

#include "IDialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lumidrax {

namespace {

QString Text(const std::string& s)
{
    return QString::fromStdString(s);
}

std::string Std(const QString& s)
{
    return s.trimmed().toStdString();
}

} // namespace

TestReportDialog::TestReportDialog(const TestReportChoice& initial,
                                   const std::vector<std::pair<ChartId, std::string>>& baselines,
                                   int selectedCount, IDialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), choice_(initial)
{
    setObjectName("dlg_test_report");
    setWindowTitle(tr("Test Report"));
    auto* layout = new QVBoxLayout(this);

    auto* header = new QGroupBox(tr("Header"), this);
    auto* form = new QFormLayout(header);
    const auto& fields = ReportHeaderFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        header_[i] = new QLineEdit(Text(initial.Header.*(fields[i].Member)), header);
        header_[i]->setObjectName(QStringLiteral("e_report_%1").arg(Text(std::string(fields[i].Key))));
        form->addRow(Text(std::string(fields[i].Label)) + ":", header_[i]);
    }
    header_[5]->setPlaceholderText(tr("the chart's date"));
    header_[6]->setPlaceholderText(tr("the chart's instrument"));
    header_[7]->setPlaceholderText(tr("the chart's serial number"));
    layout->addWidget(header);

    auto* limits = new QGroupBox(tr("Limits and charts"), this);
    auto* lform = new QFormLayout(limits);
    template_ = AddPathRow(lform, tr("Limit template:"), initial.Template, "template",
                           &TestReportDialog::BrowseTemplate);
    baseline_ = new QComboBox(limits);
    baseline_->setObjectName("cb_report_baseline");
    baseline_->addItem(tr("None"), QVariant::fromValue<qulonglong>(0));
    for (const auto& [id, caption] : baselines) {
        baseline_->addItem(Text(caption), QVariant::fromValue<qulonglong>(id));
        if (id == initial.Baseline)
            baseline_->setCurrentIndex(baseline_->count() - 1);
    }
    lform->addRow(tr("Baseline:"), baseline_);
    active_ = new QRadioButton(tr("Active chart"), limits);
    active_->setObjectName("rb_report_active");
    selected_ = new QRadioButton(tr("Selected charts (%1)").arg(selectedCount), limits);
    selected_->setObjectName("rb_report_selected");
    selected_->setEnabled(selectedCount > 0);
    (initial.Selected && selectedCount > 0 ? selected_ : active_)->setChecked(true);
    auto* which = new QHBoxLayout;
    which->addWidget(active_);
    which->addWidget(selected_);
    lform->addRow(tr("Report:"), which);
    layout->addWidget(limits);

    auto* out = new QGroupBox(tr("Output"), this);
    auto* oform = new QFormLayout(out);
    pdf_ = new QRadioButton(tr("PDF file"), out);
    pdf_->setObjectName("rb_report_pdf");
    printer_ = new QRadioButton(tr("Printer"), out);
    printer_->setObjectName("rb_report_printer");
    (initial.ToPrinter ? printer_ : pdf_)->setChecked(true);
    auto* where = new QHBoxLayout;
    where->addWidget(pdf_);
    where->addWidget(printer_);
    oform->addRow(tr("To:"), where);
    output_ = AddPathRow(oform, tr("PDF file:"), initial.Output, "output", &TestReportDialog::BrowseOutput);
    layout->addWidget(out);

    problem_ = new QLabel(this);
    problem_->setObjectName("lbl_report_problem");
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #c00000"));
    layout->addWidget(problem_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Make Report"));
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &TestReportDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TestReportDialog::reject);
    auto pdfOnly = [this] { output_->setEnabled(pdf_->isChecked()); };
    connect(pdf_, &QRadioButton::toggled, this, pdfOnly);
    pdfOnly();
}

QLineEdit* TestReportDialog::AddPathRow(QFormLayout* form, const QString& label, const std::string& path,
                                        const char* name, void (TestReportDialog::*browse)())
{
    QWidget* box = form->parentWidget();
    auto* row = new QHBoxLayout;
    auto* edit = new QLineEdit(Text(path), box);
    edit->setObjectName(QStringLiteral("e_report_%1").arg(QLatin1String(name)));
    auto* button = new QPushButton(tr("Browse..."), box);
    button->setObjectName(QStringLiteral("b_report_%1").arg(QLatin1String(name)));
    row->addWidget(edit, 1);
    row->addWidget(button);
    form->addRow(label, row);
    connect(button, &QPushButton::clicked, this, browse);
    return edit;
}

void TestReportDialog::BrowseTemplate()
{
    const std::vector<std::string> files = dialogs_.OpenFileNames(
        {.Title = "Limit Template", .Filter = "Limit template|*.json", .FileName = Std(template_->text())});
    if (!files.empty())
        template_->setText(Text(files.front()));
}

void TestReportDialog::BrowseOutput()
{
    const auto file = dialogs_.SaveFileName({.Title = "Test Report",
                                             .Filter = "PDF document|*.pdf",
                                             .FileName = Std(output_->text()),
                                             .DefaultExt = "pdf"});
    if (file)
        output_->setText(Text(*file));
}

void TestReportDialog::accept()
{
    TestReportChoice c;
    const auto& fields = ReportHeaderFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        c.Header.*(fields[i].Member) = Std(header_[i]->text());
    c.Template = Std(template_->text());
    c.Baseline = baseline_->currentData().toULongLong();
    c.Selected = selected_->isChecked();
    c.ToPrinter = printer_->isChecked();
    c.Output = Std(output_->text());
    if (c.Template.empty()) {
        problem_->setText(tr("Choose a limit template."));
        return;
    }
    if (!c.ToPrinter && c.Output.empty()) {
        problem_->setText(tr("Choose the PDF file to write."));
        return;
    }
    try {
        c.Limits = LoadLimitTemplate(c.Template);
    } catch (const LimitTemplateError& e) {
        problem_->setText(Text(e.what()));
        return;
    }
    choice_ = std::move(c);
    QDialog::accept();
}

} // namespace lumidrax
