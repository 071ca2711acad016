#include <QAction>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QtTest>
#include <memory>

#include "TestSupport.h"
#include "data/Columns.h"
#include "tools/Foto.h"

using namespace Qt::StringLiterals;

namespace {

// The viewer over a temporary base directory whose pictures lie in "foto/".
struct Fixture {
    Fixture() {
        ws().config.CestaFoto = u"foto/"_s;
        QDir().mkpath(base.Path(u"foto"_s));
        SetupTable(ws().Projects, kProjectTable, QString());
        SetupTable(ws().Deadlines, kDeadlineTable, QString());
        SetupTable(ws().Finance, kFinanceTable, QString());
        viewer = std::make_unique<Foto>(ws());
    }
    Workspace& ws() { return *base.ws; }

    // A picture of size in two colours, so that a wrong crop would show.
    void WritePicture(const QString& name, QSize size, const char* format) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        QPainter(&image).fillRect(QRect(QPoint(0, 0), size / 2), Qt::yellow);
        QVERIFY(image.save(base.Path(u"foto/"_s + name), format));
    }
    void Show() {
        viewer->show();
        QVERIFY(QTest::qWaitForWindowExposed(viewer.get()));
    }
    // Resizes the window so that its picture area gets the size.
    void SetAreaSize(QSize size) {
        auto* area = viewer->findChild<QWidget*>(u"PictureArea"_s);
        const QSize frame = viewer->size() - area->size();
        viewer->resize(size + frame);
        QTRY_COMPARE(area->size(), size);
    }
    QStringList Errors() const { return base.prompter.Texts(ScriptedPrompter::Kind::Error); }

    TempBase base;
    std::unique_ptr<Foto> viewer;
};

}  // namespace

class TestFoto : public QObject {
    Q_OBJECT

  private slots:
    void window();
    void itemPicture_data();
    void itemPicture();
    void fitting_data();
    void fitting();
    void damagedPicture_data();
    void damagedPicture();
    void hiddenViewerDecodesWhenShown();
    void largerWindowDecodesFiner();
};

void TestFoto::window() {
    Fixture f;
    Foto& v = *f.viewer;
    QCOMPARE(v.objectName(), u"Foto"_s);
    QCOMPARE(v.windowTitle(), u"Foto"_s);
    QVERIFY(v.windowFlags().testFlag(Qt::Tool));
    QVERIFY(v.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(v.size(), QSize(Foto::kDesignWidth, Foto::kDesignHeight));
    QVERIFY(!v.isVisible());
    QCOMPARE(v.ShowAction()->text(), u"Zobrazení Foto"_s);
    v.ShowAction()->trigger();
    QVERIFY(v.isVisible());
    QVERIFY(!v.HasPicture());
}

void TestFoto::itemPicture_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("cell");  // the file name the item names
    QTest::addColumn<QString>("file");  // the file in the picture folder ("" none)
    QTest::addColumn<QString>("label");

    QTest::newRow("project") << int(kProjectTable) << 2 << "stavba.jpg"
                             << "stavba.jpg"
                             << "002 -  Chodník";
    QTest::newRow("deadline") << int(kDeadlineTable) << 2 << "most.JPG"
                              << "most.JPG"
                              << "Etapa 2 -  Stavba";
    // The first deadline row leaves the label as it is, as the entry window does.
    QTest::newRow("first deadline") << int(kDeadlineTable) << 1 << "most.JPG"
                                    << "most.JPG"
                                    << "předchozí";
    QTest::newRow("finance") << int(kFinanceTable) << 2 << "faktura.Bmp"
                             << "faktura.Bmp"
                             << "Faktura 2 -  Platba";
    QTest::newRow("missing file") << int(kDeadlineTable) << 2 << "chybi.jpg"
                                  << ""
                                  << "Etapa 2 -  Stavba";
    // The folder itself exists, but is not a picture.
    QTest::newRow("no file named") << int(kFinanceTable) << 2 << ""
                                   << ""
                                   << "Faktura 2 -  Platba";
}

void TestFoto::itemPicture() {
    QFETCH(int, kind);
    QFETCH(int, row);
    QFETCH(QString, cell);
    QFETCH(QString, file);
    QFETCH(QString, label);
    Fixture f;
    Workspace& ws = f.ws();
    ws.Projects.SetCell(Project::Number, 2, u"002"_s);
    ws.Projects.SetCell(Project::Name, 2, u"Chodník"_s);
    ws.Projects.SetCell(Project::Picture, 2, cell);
    for (int r = 1; r <= 2; ++r) {
        ws.Deadlines.SetCell(Deadline::Activity, r, u"Etapa %1"_s.arg(r));
        ws.Deadlines.SetCell(Deadline::Classification, r, r == 1 ? u"Příprava"_s : u"Stavba"_s);
        ws.Deadlines.SetCell(Deadline::Picture, r, cell);
        ws.Finance.SetCell(Finance::Activity, r, u"Faktura %1"_s.arg(r));
        ws.Finance.SetCell(Finance::Classification, r, u"Platba"_s);
        ws.Finance.SetCell(Finance::Picture, r, cell);
    }
    if (!file.isEmpty())
        f.WritePicture(file, QSize(40, 30),
                       file.endsWith(u"mp", Qt::CaseInsensitive) ? "BMP" : "JPG");
    f.Show();
    f.viewer->SetItemLabel(u"předchozí"_s);

    ws.Current().SelectRow(kind, row);
    f.viewer->ShowCurrentItemPicture();
    QCOMPARE(f.viewer->ItemLabelText(), label);
    // Without a picture the viewer keeps a caption of its own.
    QCOMPARE(f.viewer->windowTitle(), file.isEmpty() ? u"Foto"_s : file);
    QCOMPARE(f.viewer->HasPicture(), !file.isEmpty());
    if (!file.isEmpty()) QCOMPARE(f.viewer->PictureSize(), QSize(40, 30));
    // A missing picture is not reported.
    QVERIFY(f.Errors().isEmpty());
}

void TestFoto::fitting_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("area");
    QTest::addColumn<QSize>("image");
    QTest::addColumn<QString>("sizeLabel");

    QTest::newRow("same ratio") << QSize(800, 600) << QSize(352, 264) << QSize(352, 264)
                                << "800/600 > 352/264";
    QTest::newRow("upright") << QSize(600, 800) << QSize(352, 264) << QSize(198, 264)
                             << "600/800 > 198/264";
    QTest::newRow("wide") << QSize(800, 200) << QSize(352, 264) << QSize(352, 88)
                          << "800/200 > 352/88";
}

void TestFoto::fitting() {
    QFETCH(QSize, picture);
    QFETCH(QSize, area);
    QFETCH(QSize, image);
    QFETCH(QString, sizeLabel);
    Fixture f;
    f.Show();
    f.SetAreaSize(area);
    for (const char* format : {"JPG", "BMP"}) {
        const QString name = u"p."_s + QString::fromLatin1(format).toLower();
        f.WritePicture(name, picture, format);
        f.viewer->ShowPicture(f.base.Path(u"foto/"_s + name), name);
        QVERIFY2(f.viewer->HasPicture(), format);
        QCOMPARE(f.viewer->ImageSize(), image);
        QCOMPARE(f.viewer->findChild<QLabel*>(u"Image"_s)->pos(), QPoint(0, 0));
        QCOMPARE(f.viewer->SizeLabelText(), sizeLabel);
    }
    // A larger window stretches the picture again.
    f.SetAreaSize(area * 2);
    QCOMPARE(f.viewer->ImageSize(), image * 2);
    QVERIFY(f.Errors().isEmpty());
}

void TestFoto::damagedPicture_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("keep");  // bytes of a good JPEG kept; -1 a bitmap's bytes
    QTest::addColumn<QString>("message");

    QTest::newRow("truncated") << "zlomek.jpg" << 600
                               << "Soubor zlomek.jpg nelze zobrazit: Premature end of JPEG file.";
    QTest::newRow("header only") << "hlava.JPG" << 2
                                 << "Soubor hlava.JPG nelze zobrazit: Premature end of JPEG file.";
    QTest::newRow("not a JPEG") << "bitmapa.jpg" << -1
                                << "Soubor bitmapa.jpg nelze zobrazit: Not a JPEG file: starts "
                                   "with 0x42 0x4d.";
}

void TestFoto::damagedPicture() {
    QFETCH(QString, name);
    QFETCH(int, keep);
    QFETCH(QString, message);
    Fixture f;
    Workspace& ws = f.ws();
    f.WritePicture(u"dobry.jpg"_s, QSize(320, 240), "JPG");
    f.WritePicture(u"dobry.bmp"_s, QSize(320, 240), "BMP");
    const QByteArray bytes = f.base.Bytes(keep < 0 ? u"foto/dobry.bmp"_s : u"foto/dobry.jpg"_s);
    QVERIFY(bytes.size() > keep);
    f.base.WriteBytes(u"foto/"_s + name, keep < 0 ? bytes : bytes.left(keep));
    ws.Deadlines.SetCell(Deadline::Activity, 1, u"Dobrý"_s);
    ws.Deadlines.SetCell(Deadline::Picture, 1, u"dobry.jpg"_s);
    ws.Deadlines.SetCell(Deadline::Activity, 2, u"Poškozený"_s);
    ws.Deadlines.SetCell(Deadline::Picture, 2, name);
    f.Show();

    f.viewer->ShowItemPicture(kDeadlineTable, 1);
    QVERIFY(f.viewer->HasPicture());
    f.viewer->ShowItemPicture(kDeadlineTable, 2);
    QCOMPARE(f.Errors(), QStringList{message});
    QVERIFY(!f.viewer->HasPicture());
    QCOMPARE(f.viewer->ImageSize(), QSize(0, 0));
    QCOMPARE(f.viewer->SizeLabelText(), QString());
    QCOMPARE(f.viewer->windowTitle(), u"Foto"_s);
    QCOMPARE(f.viewer->ItemLabelText(), u"Poškozený -  "_s);

    // Another click on the same item does not repeat the message.
    f.viewer->ShowItemPicture(kDeadlineTable, 2);
    QCOMPARE(f.Errors().size(), 1);
    QVERIFY(!f.viewer->HasPicture());
    QCOMPARE(f.viewer->windowTitle(), u"Foto"_s);
    // A good picture afterwards is shown as usual.
    f.viewer->ShowItemPicture(kDeadlineTable, 1);
    QVERIFY(f.viewer->HasPicture());
    QCOMPARE(f.viewer->windowTitle(), u"dobry.jpg"_s);
}

void TestFoto::hiddenViewerDecodesWhenShown() {
    Fixture f;
    f.base.WriteBytes(u"foto/vadny.jpg"_s, QByteArray("\xff\xd8\xff", 3));
    f.ws().Finance.SetCell(Finance::Picture, 1, u"vadny.jpg"_s);
    f.viewer->ShowItemPicture(kFinanceTable, 1);
    QCOMPARE(f.viewer->windowTitle(), u"vadny.jpg"_s);
    QVERIFY(f.Errors().isEmpty());
    f.viewer->ShowAction()->trigger();
    QTRY_COMPARE(f.Errors().size(), 1);
    QVERIFY(f.Errors().first().startsWith(u"Soubor vadny.jpg nelze zobrazit: "_s));
    QVERIFY(!f.viewer->HasPicture());
}

void TestFoto::largerWindowDecodesFiner() {
    Fixture f;
    f.WritePicture(u"velky.jpg"_s, QSize(1600, 1200), "JPG");
    f.Show();
    f.SetAreaSize(QSize(200, 150));
    f.viewer->ShowPicture(f.base.Path(u"foto/velky.jpg"_s), u"velky.jpg"_s);
    QCOMPARE(f.viewer->PictureSize(), QSize(1600, 1200));
    QCOMPARE(f.viewer->DecodedEighths(), 1);
    QCOMPARE(f.viewer->SizeLabelText(), u"1600/1200 > 200/150"_s);
    f.SetAreaSize(QSize(700, 525));
    QCOMPARE(f.viewer->ImageSize(), QSize(700, 525));
    QTRY_COMPARE(f.viewer->DecodedEighths(), 4);
    QCOMPARE(f.viewer->SizeLabelText(), u"1600/1200 > 700/525"_s);
    QVERIFY(f.Errors().isEmpty());
}

QTEST_MAIN(TestFoto)
#include "tst_foto.moc"
