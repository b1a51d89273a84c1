#include "DirectoryChooser.h"

#include "FixedDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

namespace lumidrax {

namespace {

QString WithSlash(QString dir)
{
    if (!dir.endsWith('/'))
        dir += '/';
    return dir;
}

} // namespace

DirectoryChooser::DirectoryChooser(QWidget* parent) : QDialog(parent)
{
    MakeFixedDialog(*this, "Frm_GetDir", "Select dierctory");

    drives_ = new QComboBox(this);
    drives_->setObjectName("dcb_drives");
    QStringList roots{"/", QDir::homePath()};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots << volume.rootPath();
    roots.sort();
    for (const QString& root : roots)
        drives_->addItem(root, root);

    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath("/");
    tree_ = new QTreeView(this);
    tree_->setObjectName("dlb_dirs");
    tree_->setModel(model_);
    tree_->setHeaderHidden(true);
    for (int column = 1; column < model_->columnCount(); ++column)
        tree_->hideColumn(column);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* select = new QPushButton("&Select", this);
    select->setDefault(true);
    auto* cancel = new QPushButton("&Cancel", this);
    connect(select, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(drives_, &QComboBox::activated, this, [this](int i) { DriveChosen(i); });
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { FollowTree(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(select);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(drives_);
    layout->addWidget(tree_, 1);
    layout->addLayout(buttons);
    setFixedSize(360, 420);
    SetDirectory(QDir::homePath());
}

void DirectoryChooser::SetDirectory(const QString& dir)
{
    QString path = QDir::cleanPath(QDir(dir).absolutePath());
    while (!QFileInfo(path).isDir() && path != "/")
        path = QFileInfo(path).absolutePath();
    const QModelIndex index = model_->index(path);
    tree_->setCurrentIndex(index);
    tree_->scrollTo(index);
    tree_->expand(index);
    FollowTree();
}

QString DirectoryChooser::Directory() const
{
    const QModelIndex index = tree_->currentIndex();
    return WithSlash(index.isValid() ? model_->filePath(index) : QString("/"));
}

void DirectoryChooser::DriveChosen(int index)
{
    if (following_ || index < 0)
        return;
    SetDirectory(drives_->itemData(index).toString());
}

void DirectoryChooser::FollowTree()
{
    // The drive list shows the drive that holds the folder: the longest
    // root that is a prefix of it.
    const QString dir = Directory();
    int best = -1;
    int bestLength = -1;
    for (int i = 0; i < drives_->count(); ++i) {
        const QString root = WithSlash(drives_->itemData(i).toString());
        if (dir.startsWith(root) && root.size() > bestLength) {
            best = i;
            bestLength = static_cast<int>(root.size());
        }
    }
    following_ = true;
    drives_->setCurrentIndex(best);
    following_ = false;
}

std::optional<QString> DirectoryChooser::ChooseDirectory(QWidget* parent, const QString& start)
{
    DirectoryChooser chooser(parent);
    chooser.SetDirectory(start);
    if (chooser.exec() != QDialog::Accepted)
        return std::nullopt;
    return chooser.Directory();
}

} // namespace lumidrax
