#pragma once
// The directory chooser (Frm_GetDir, "Select dierctory"): a list of drives
// (the mounted file systems and the home folder) above a tree of folders;
// choosing a drive moves the tree there, and the drive list follows the
// folder chosen in the tree. "&Select" confirms, "&Cancel" does not.

#include <QDialog>

#include <optional>

class QComboBox;
class QFileSystemModel;
class QTreeView;

namespace lumidrax {

class DirectoryChooser : public QDialog {
    Q_OBJECT
  public:
    explicit DirectoryChooser(QWidget* parent = nullptr);

    // Puts the tree on a folder; a folder that does not exist puts it on
    // the nearest existing folder above it.
    void SetDirectory(const QString& dir);
    // The folder chosen in the tree, ending with "/".
    QString Directory() const;

    QComboBox* Drives() const { return drives_; }
    QTreeView* Tree() const { return tree_; }

    // Opens the chooser modally on `start`; the chosen folder on "&Select".
    static std::optional<QString> ChooseDirectory(QWidget* parent, const QString& start);

  private:
    void DriveChosen(int index);
    void FollowTree();

    QComboBox* drives_ = nullptr;
    QTreeView* tree_ = nullptr;
    QFileSystemModel* model_ = nullptr;
    bool following_ = false;
};

} // namespace lumidrax
