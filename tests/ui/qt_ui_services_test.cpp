#include "ui/qt_ui_services.h"

#include <QPrinterInfo>
#include <QTextDocument>
#include <QtTest>

using namespace corvanteller;
using namespace Qt::StringLiterals;

namespace {

// The real services with the error report kept instead of shown.
class RecordingQtUiServices final : public QtUiServices {
public:
    void reportError(QWidget*, const QString& text) override { errors.append(text); }
    QStringList errors;
};

} // namespace

class QtUiServicesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void printingWithoutAPrinterSaysSo() {
        if (!QPrinterInfo::defaultPrinter().isNull()) {
            QSKIP("this machine has a default printer; the test never prints on it");
        }
        RecordingQtUiServices ui;
        QTextDocument document(u"text"_s);
        QVERIFY(!ui.print(nullptr, document, u"job"_s));
        QCOMPARE(ui.errors, QStringList{u"There is no default printer currently selected"_s});
    }
};

QTEST_MAIN(QtUiServicesTest)
#include "qt_ui_services_test.moc"
