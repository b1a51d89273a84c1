#include "TagsDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace lumidrax {

TagsDialog::TagsDialog(const ArchiveTags& shown, int entries, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Cable, Site, Job, Operator"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("%1 archive %2; an empty field leaves that tag as it is.")
                                     .arg(entries)
                                     .arg(entries == 1 ? tr("entry") : tr("entries")),
                                 this));
    auto* form = new QFormLayout;
    const auto field = [this, form](const char* name, const QString& label, const std::string& text) {
        auto* e = new QLineEdit(QString::fromStdString(text), this);
        e->setObjectName(name);
        form->addRow(label, e);
        return e;
    };
    e_cable = field("e_cable", tr("&Cable"), shown.Cable);
    e_site = field("e_site", tr("&Site"), shown.Site);
    e_job = field("e_job", tr("&Job"), shown.Job);
    e_operator = field("e_operator", tr("&Operator"), shown.Operator);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

ArchiveTags TagsDialog::Tags() const
{
    const auto text = [](const QLineEdit* e) { return e->text().trimmed().toStdString(); };
    return {text(e_cable), text(e_site), text(e_job), text(e_operator)};
}

} // namespace lumidrax
