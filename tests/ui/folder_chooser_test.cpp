// SPDX-License-Identifier: GPL-3.0-or-later
#include "support_ui/window_child.h"
#include "ui/folder_chooser.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace corvanteller;
using namespace Qt::StringLiterals;

class FolderChooserTest : public QObject {
    Q_OBJECT

    static QStringList items(const QListWidget* list) {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row) {
            texts.append(list->item(row)->text());
        }
        return texts;
    }

private Q_SLOTS:
    // The cp1251 name of an old Windows archive, which Qt's own dialog leaves out: listed under
    // its cp1251 reading, opened, and chosen as its bytes.
    void aFolderWhoseNameIsNotUtf8IsListedOpenedAndChosen() {
        QTemporaryDir root;
        const QByteArray base = QFile::encodeName(root.path());
        const QByteArray archive = base + "/\xC0\xF0\xF5\xE8\xE2 cp1251";
        for (const QByteArray& folder :
             QList<QByteArray>{archive, archive + "/2001", base + "/.hidden"}) {
            QCOMPARE(::mkdir(folder.constData(), 0755), 0);
        }
        QFile file(root.filePath(u"notes.txt"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));

        FolderChooser chooser(base);
        chooser.show();
        QCOMPARE(items(child<QListWidget>(chooser, "folderList")), QStringList{u"Архив cp1251"_s});
        child<QListWidget>(chooser, "folderList")->setFocus();
        child<QListWidget>(chooser, "folderList")->setCurrentRow(0);
        QTest::keyClick(child<QListWidget>(chooser, "folderList"), Qt::Key_Return);
        QVERIFY(chooser.isVisible());
        QCOMPARE(chooser.folder(), archive);
        QCOMPARE(child<QLabel>(chooser, "folderLabel")->text(), root.path() + u"/Архив cp1251"_s);
        QCOMPARE(items(child<QListWidget>(chooser, "folderList")), QStringList{u"2001"_s});
        QCOMPARE(folderBytesOf(child<QLabel>(chooser, "folderLabel")->text()), archive);

        chooser.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(chooser.result(), int{QDialog::Accepted});
        QCOMPARE(chooser.chosen(), archive);
    }
};

QTEST_MAIN(FolderChooserTest)
#include "folder_chooser_test.moc"
