#include "ArchivePage.h"

#include "ArchiveTableModel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace lumidrax {

namespace {

// Typing settles this long before the table follows.
constexpr int kSettleMs = 150;

} // namespace

ArchivePage::ArchivePage(QWidget* parent) : QWidget(parent)
{
    setObjectName("ArchivePage");
    auto* layout = new QVBoxLayout(this);
    auto* filters = new QGridLayout;
    // Each filter: its field, the field's name and hint, its label and its
    // place in the grid (the label left of the field).
    struct Filter {
        QLineEdit*& Edit;
        const char* Name;
        QString Placeholder, Label;
        int Row, Column, Span;
    };
    const Filter fields[] = {
        {e_search, "e_search", tr("words in description, file name, cable, site or job"), tr("&Search"), 0, 0,
         7},
        {e_from, "e_from", tr("YYYY-MM-DD"), tr("&From"), 1, 0, 1},
        {e_to, "e_to", tr("YYYY-MM-DD"), tr("&To"), 1, 2, 1},
        {e_serial, "e_serial", tr("any"), tr("Se&rial No."), 1, 4, 1},
        {e_model, "e_model", tr("any"), tr("&Model"), 1, 6, 1},
    };
    for (const Filter& f : fields) {
        f.Edit = new QLineEdit(this);
        f.Edit->setObjectName(f.Name);
        f.Edit->setPlaceholderText(f.Placeholder);
        f.Edit->setClearButtonEnabled(true);
        auto* label = new QLabel(f.Label, this);
        label->setBuddy(f.Edit);
        filters->addWidget(label, f.Row, f.Column);
        filters->addWidget(f.Edit, f.Row, f.Column + 1, 1, f.Span);
    }
    auto* date =
        new QRegularExpressionValidator(QRegularExpression(R"(\d{0,4}(-\d{0,2}(-\d{0,2})?)?)"), this);
    e_from->setValidator(date);
    e_to->setValidator(date);
    e_serial->setValidator(new QIntValidator(0, 2147483647, this));
    layout->addLayout(filters);

    model_ = new ArchiveTableModel(this);
    table_ = new QTableView(this);
    table_->setObjectName("tv_archive");
    table_->setModel(model_);
    table_->setSortingEnabled(true);
    table_->horizontalHeader()->setSortIndicator(static_cast<int>(ArchiveColumn::MeasuredAt),
                                                 Qt::DescendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table_->setColumnWidth(static_cast<int>(ArchiveColumn::MeasuredAt), 140);
    table_->setColumnWidth(static_cast<int>(ArchiveColumn::Description), 220);
    table_->setColumnWidth(static_cast<int>(ArchiveColumn::FileName), 160);
    for (ArchiveColumn c :
         {ArchiveColumn::Cable, ArchiveColumn::Site, ArchiveColumn::Job, ArchiveColumn::Operator})
        table_->setColumnWidth(static_cast<int>(c), 90);
    table_->setColumnWidth(static_cast<int>(ArchiveColumn::Model), 80);
    table_->setColumnWidth(static_cast<int>(ArchiveColumn::SerialNumber), 60);
    table_->installEventFilter(this);
    layout->addWidget(table_, 1);

    auto* buttons = new QHBoxLayout;
    const auto button = [this, buttons](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        buttons->addWidget(b);
        return b;
    };
    b_open = button("b_open", tr("&Open"));
    b_tags = button("b_tags", tr("&Edit Cable/Site/Job/Operator..."));
    b_baseline = button("b_baseline", tr("Set as &Baseline"));
    b_compare = button("b_compare", tr("&Compare with Baseline"));
    b_history = button("b_history", tr("Histor&y"));
    buttons->addStretch(1);
    b_import = button("b_import", tr("&Import Folder..."));
    layout->addLayout(buttons);
    state_ = new QLabel(this);
    state_->setObjectName("lbl_archive_state");
    state_->setWordWrap(true);
    layout->addWidget(state_);

    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMs);
    connect(settle_, &QTimer::timeout, this, &ArchivePage::filterChanged);
    for (QLineEdit* e : {e_search, e_from, e_to, e_serial, e_model}) {
        connect(e, &QLineEdit::textChanged, settle_, qOverload<>(&QTimer::start));
        connect(e, &QLineEdit::returnPressed, this, [this] {
            settle_->stop();
            emit filterChanged();
        });
    }
    connect(table_, &QTableView::doubleClicked, this, &ArchivePage::openRequested);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        UpdateButtons(archiveOpen_);
        emit selectionChanged();
    });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { UpdateButtons(archiveOpen_); });
    UpdateButtons(false);
}

ArchiveQuery ArchivePage::Filter() const
{
    ArchiveQuery q;
    q.Text = e_search->text().trimmed().toStdString();
    const auto date = [](const QLineEdit* e) {
        const QString t = e->text().trimmed();
        return t.size() == 10 ? t.toStdString() : std::string();
    };
    q.From = date(e_from);
    q.To = date(e_to);
    q.SerialNumber = e_serial->text().toInt();
    q.Model = e_model->text().trimmed().toStdString();
    return q;
}

std::vector<int> ArchivePage::SelectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex& i : table_->selectionModel()->selectedRows())
        rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void ArchivePage::ShowState(const QString& text)
{
    state_->setText(text);
}

QString ArchivePage::StateText() const
{
    return state_->text();
}

void ArchivePage::UpdateButtons(bool archiveOpen)
{
    archiveOpen_ = archiveOpen;
    const int chosen = archiveOpen ? static_cast<int>(table_->selectionModel()->selectedRows().size()) : 0;
    b_open->setEnabled(chosen > 0);
    b_tags->setEnabled(chosen > 0);
    b_baseline->setEnabled(chosen == 1);
    b_compare->setEnabled(chosen == 1);
    b_history->setEnabled(chosen == 1);
    b_import->setEnabled(archiveOpen);
    for (QLineEdit* e : {e_search, e_from, e_to, e_serial, e_model})
        e->setEnabled(archiveOpen);
}

bool ArchivePage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            emit openRequested();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace lumidrax
