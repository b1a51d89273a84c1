#pragma once
// The "Archive" page, beside Chart and Report: a search field (words over
// description, file name, cable, site and job), filters (measured from/to,
// serial number, model), the table of entries found, and the buttons of
// the archive's commands. The page only shows and collects the filter;
// ArchiveCommands does the work.

#include "ArchiveQuery.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace lumidrax {

class ArchiveTableModel;

class ArchivePage : public QWidget {
    Q_OBJECT
  public:
    explicit ArchivePage(QWidget* parent = nullptr);

    ArchiveTableModel* Model() const { return model_; }
    QTableView* Table() const { return table_; }
    // The query the search field and the filters make now.
    ArchiveQuery Filter() const;
    // The rows chosen in the table, in table order.
    std::vector<int> SelectedRows() const;
    // "12 entries", or why the archive cannot be shown.
    void ShowState(const QString& text);
    QString StateText() const;
    // The buttons follow the selection (and whether there is an archive).
    void UpdateButtons(bool archiveOpen);

    QLineEdit* e_search = nullptr;
    QLineEdit* e_from = nullptr;
    QLineEdit* e_to = nullptr;
    QLineEdit* e_serial = nullptr;
    QLineEdit* e_model = nullptr;
    QPushButton* b_open = nullptr;
    QPushButton* b_tags = nullptr;
    QPushButton* b_baseline = nullptr;
    QPushButton* b_compare = nullptr;
    QPushButton* b_history = nullptr;
    QPushButton* b_import = nullptr;

  signals:
    // The filter changed (after typing settles).
    void filterChanged();
    // A row was opened with a double click or Enter.
    void openRequested();
    void selectionChanged();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    ArchiveTableModel* model_;
    QTableView* table_;
    QLabel* state_;
    QTimer* settle_;
    bool archiveOpen_ = false;
};

} // namespace lumidrax
