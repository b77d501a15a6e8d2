// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/folder_chooser.h"

#include "common/file_names.h"
#include "ui/ui_texts.h"

#include <QCollator>
#include <QDialogButtonBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

namespace corvanteller {

using namespace Qt::StringLiterals;

namespace {

constexpr int nameRole = Qt::UserRole;

bool isFolder(const QByteArray& path) {
    struct stat status {};
    return ::stat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

QByteArray childOf(const QByteArray& folder, const QByteArray& name) {
    QByteArray path = folder;
    if (!path.endsWith('/')) {
        path += '/';
    }
    return path + name;
}

QByteArray parentOf(const QByteArray& folder) {
    const qsizetype slash = folder.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : folder.left(slash);
}

} // namespace

std::vector<FolderEntry> listSubfolders(const QByteArray& folder) {
    std::vector<FolderEntry> entries;
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(folder.constData()), ::closedir);
    if (!listing) {
        return entries;
    }
    while (const dirent* entry = ::readdir(listing.get())) {
        const QByteArray name(entry->d_name);
        if (name.startsWith('.') || !isFolder(childOf(folder, name))) {
            continue;
        }
        entries.push_back({name, decodeFileName(name)});
    }
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(entries.begin(), entries.end(), [&collator](const auto& a, const auto& b) {
        return collator.compare(a.shown, b.shown) < 0;
    });
    return entries;
}

QByteArray folderBytesOf(const QString& shown) {
    if (!shown.startsWith(u'/')) {
        return {};
    }
    QByteArray path("/");
    for (QStringView part : QStringView(shown).split(u'/', Qt::SkipEmptyParts)) {
        bool found = false;
        for (const QByteArray& candidate : fileNameCandidates(part)) {
            if (isFolder(childOf(path, candidate))) {
                path = childOf(path, candidate);
                found = true;
                break;
            }
        }
        if (!found) {
            break;
        }
    }
    return path;
}

FolderChooser::FolderChooser(const QByteArray& startFolder, QWidget* parent) : QDialog(parent) {
    setWindowTitle(uiTexts::chooseFolderTitle());
    folderLabel = new QLabel(this);
    folderLabel->setObjectName(QStringLiteral("folderLabel"));
    folderLabel->setTextFormat(Qt::PlainText);
    folderLabel->setWordWrap(true);
    folderList = new QListWidget(this);
    folderList->setObjectName(QStringLiteral("folderList"));
    upButton = new QPushButton(uiTexts::folderUp(), this);
    upButton->setObjectName(QStringLiteral("upButton"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->addButton(upButton, QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(folderLabel);
    layout->addWidget(folderList);
    layout->addWidget(buttons);
    resize(480, 400);

    connect(buttons, &QDialogButtonBox::accepted, this, &FolderChooser::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FolderChooser::reject);
    connect(upButton, &QPushButton::clicked, this, [this] { showFolder(parentOf(folder_)); });
    connect(folderList, &QListWidget::itemActivated, this, &FolderChooser::openItem);
    folderList->installEventFilter(this);

    QByteArray start = startFolder;
    while (!isFolder(start) && start != "/") {
        start = parentOf(start);
    }
    showFolder(start.isEmpty() ? QByteArray("/") : start);
}

void FolderChooser::showFolder(const QByteArray& folder) {
    folder_ = folder;
    folderLabel->setText(decodeFilePath(folder));
    upButton->setEnabled(folder != "/");
    folderList->clear();
    for (const FolderEntry& entry : listSubfolders(folder)) {
        auto* item = new QListWidgetItem(entry.shown, folderList);
        item->setData(nameRole, entry.name);
    }
}

void FolderChooser::openItem(QListWidgetItem* item) {
    if (item != nullptr) {
        showFolder(childOf(folder_, item->data(nameRole).toByteArray()));
    }
}

bool FolderChooser::eventFilter(QObject* watched, QEvent* event) {
    // Return in the list opens its folder; it does not choose it as the dialog's default would.
    if (watched == folderList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openItem(folderList->currentItem());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FolderChooser::accept() {
    const QList<QListWidgetItem*> selected = folderList->selectedItems();
    chosen_ = selected.isEmpty() ? folder_
                                 : childOf(folder_, selected.front()->data(nameRole).toByteArray());
    QDialog::accept();
}

} // namespace corvanteller
