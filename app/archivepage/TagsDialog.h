#pragma once
// "Edit Cable/Site/Job/Operator...": the four tags of the chosen entries.
// A field left empty leaves that tag of every entry as it is.

#include "ArchiveRecord.h"

#include <QDialog>

class QLineEdit;

namespace lumidrax {

class TagsDialog : public QDialog {
    Q_OBJECT
  public:
    // `shown`: the tags the fields start with; `entries`: how many are edited.
    TagsDialog(const ArchiveTags& shown, int entries, QWidget* parent = nullptr);

    ArchiveTags Tags() const;

    QLineEdit* e_cable = nullptr;
    QLineEdit* e_site = nullptr;
    QLineEdit* e_job = nullptr;
    QLineEdit* e_operator = nullptr;
};

} // namespace lumidrax
