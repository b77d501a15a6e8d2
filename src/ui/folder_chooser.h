// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>

#include <vector>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace corvanteller {

// A folder below another one: its name's bytes and the name as the user sees it.
struct FolderEntry {
    QByteArray name;
    QString shown;
};

// The folders in a folder (symbolic links to folders too, hidden ones not), by their shown names.
// Names are taken as the file system gives them, so that a name which is not UTF-8 (the cp1251
// names of old Windows archives) is listed and kept as its bytes.
std::vector<FolderEntry> listSubfolders(const QByteArray& folder);

// The bytes of an absolute folder shown as text, each part found on disk as UTF-8 or as cp1251;
// where a part is not found, the deepest folder found above it.
QByteArray folderBytesOf(const QString& shown);

// The program's folder dialog. Qt's own decodes every name as UTF-8, so that a folder whose name
// is not UTF-8 cannot be opened or chosen there; this one keeps each name's bytes. A double click
// or Return opens a folder, "Up" goes to the one above, "OK" chooses the selected folder (or,
// with none selected, the one shown).
class FolderChooser final : public QDialog {
    Q_OBJECT

public:
    FolderChooser(const QByteArray& startFolder, QWidget* parent = nullptr);

    // The folder shown, and the one "OK" chose.
    const QByteArray& folder() const { return folder_; }
    const QByteArray& chosen() const { return chosen_; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showFolder(const QByteArray& folder);
    void openItem(QListWidgetItem* item);

    QLabel* folderLabel = nullptr;
    QListWidget* folderList = nullptr;
    QPushButton* upButton = nullptr;

    QByteArray folder_;
    QByteArray chosen_;
};

} // namespace corvanteller
