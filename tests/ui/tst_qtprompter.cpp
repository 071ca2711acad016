#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "GuiSupport.h"
#include "main/QtPrompter.h"

using namespace Qt::StringLiterals;

namespace {

enum class Call { Ask, Inform, Error };

}  // namespace

Q_DECLARE_METATYPE(Call)
Q_DECLARE_METATYPE(QMessageBox::Icon)
Q_DECLARE_METATYPE(QMessageBox::StandardButton)

class TestQtPrompter : public QObject {
    Q_OBJECT

  private slots:
    void messageBoxes_data();
    void messageBoxes();
    void fileDialogs_data();
    void fileDialogs();
};

void TestQtPrompter::messageBoxes_data() {
    QTest::addColumn<Call>("call");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<QMessageBox::StandardButton>("press");
    QTest::addColumn<bool>("answer");

    QTest::newRow("question answered Yes")
        << Call::Ask << QMessageBox::Information << QMessageBox::Yes << true;
    QTest::newRow("question answered No")
        << Call::Ask << QMessageBox::Information << QMessageBox::No << false;
    QTest::newRow("information") << Call::Inform << QMessageBox::Information << QMessageBox::Ok
                                 << false;
    QTest::newRow("error") << Call::Error << QMessageBox::Critical << QMessageBox::Ok << false;
}

void TestQtPrompter::messageBoxes() {
    QFETCH(Call, call);
    QFETCH(QMessageBox::Icon, icon);
    QFETCH(QMessageBox::StandardButton, press);
    QFETCH(bool, answer);

    // The core's texts break lines with CR LF and may hold paths with "<" in them.
    const QString text =
        u"Soubor <C:\\Data>\\NameAkce.csv nebyl nalezen.\r\nChceteli jej "
        u"vytvořit v základním tvaru ?\r\nStiskněte   YES\r\n"_s;
    const QString expected = QString(text).replace(u"\r\n"_s, u"\n"_s);
    QString shown;
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    AnswerModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return modal->close(), void();
        shown = box->text();
        shownIcon = box->icon();
        if (QAbstractButton* button = box->button(press))
            button->click();
        else
            box->close();
    });
    QtPrompter prompter;
    bool result = false;
    switch (call) {
        case Call::Ask:
            result = prompter.AskYesNo(text);
            break;
        case Call::Inform:
            prompter.Inform(text);
            break;
        case Call::Error:
            prompter.Error(text);
            break;
    }
    QTRY_VERIFY(!qApp->activeModalWidget());
    QCOMPARE(shown, expected);
    QCOMPARE(shownIcon, icon);
    QCOMPARE(result, answer);
}

void TestQtPrompter::fileDialogs_data() {
    QTest::addColumn<bool>("save");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("selectedFilter");
    QTest::addColumn<bool>("accept");

    const QStringList filters = QtPrompter::NameFilters();
    QCOMPARE(filters.size(), 5);
    QTest::newRow("register, accepted")
        << false << int(kFilterCsv) << u"NameAkce.csv"_s << filters[0] << true;
    QTest::newRow("templates, cancelled")
        << false << int(kFilterTemplates) << u"Ukon*.csv"_s << filters[1] << false;
    QTest::newRow("progress, accepted")
        << false << int(kFilterProgress) << u"APr_NameAkce__101.csv"_s << filters[2] << true;
    QTest::newRow("save notes") << true << int(kFilterText) << u"Poznamky.TXT"_s << filters[3]
                                << true;
    QTest::newRow("unknown filter takes the first")
        << true << 9 << u"*APr*.csv"_s << filters[0] << false;
    // The picture chooser's mask: two patterns, each in both spellings.
    QTest::newRow("pictures") << false << int(kFilterCsv) << u"*.jpg;*.bmp"_s
                              << u"*.jpg;*.bmp (*.jpg *.JPG *.bmp *.BMP)"_s << false;
}

void TestQtPrompter::fileDialogs() {
    QFETCH(bool, save);
    QFETCH(int, filter);
    QFETCH(QString, fileName);
    QFETCH(QString, selectedFilter);
    QFETCH(bool, accept);

    QTemporaryDir dir;
    for (const QString& name : {u"NameAkce.csv"_s, u"APr_NameAkce__101.csv"_s}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const FileRequest request{u"Otevření Akcí -"_s + dir.filePath(fileName), dir.path() + u'/',
                              fileName, filter};

    QString title, typed, shownFilter, shownDir;
    AnswerModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) return modal->close(), void();
        title = dialog->windowTitle();
        shownFilter = dialog->selectedNameFilter();
        shownDir = dialog->directory().absolutePath();
        if (auto* edit = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s)) typed = edit->text();
        QDialog* asDialog = dialog;  // QFileDialog hides accept(); it still checks the name
        accept ? asDialog->accept() : asDialog->reject();
    });
    QtPrompter prompter;
    const QString chosen =
        save ? prompter.ChooseSaveFile(request) : prompter.ChooseOpenFile(request);
    QTRY_VERIFY(!qApp->activeModalWidget());

    QCOMPARE(title, request.title);
    QCOMPARE(shownDir, QDir(dir.path()).absolutePath());
    QCOMPARE(shownFilter, selectedFilter);
    // A mask is never shown as the typed name.
    QCOMPARE(typed, fileName.contains(u'*') ? QString() : fileName);
    QCOMPARE(chosen, accept ? dir.filePath(fileName) : QString());
}

QTEST_MAIN(TestQtPrompter)
#include "tst_qtprompter.moc"
