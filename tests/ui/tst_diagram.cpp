#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QSlider>
#include <QtTest>

#include "TestSupport.h"
#include "data/Cells.h"
#include "data/Dates.h"
#include "data/Progress.h"
#include "data/ProjectRegister.h"
#include "editing/EditLabels.h"
#include "editing/Links.h"
#include "planning/Diagram.h"
#include "shell/Config.h"

namespace {

const QString kLog = QStringLiteral("Zmeny_2026-12.csv");

// Two projects with their progress files; project 001 loaded, the diagram at
// one pixel a day and 30 pixels a row.
struct Base {
    TempBase base;
    Workspace& ws = *base.ws;
    LinkRecorder links{ws};

    Base() {
        base.WriteLines(QStringLiteral("NameAkce.csv"), TwoRoadProjectsRegister());
        const QStringList progress{
            "Akce ORVA;01.12.2026",
            "Akce - Projekt Číslo ;001",
            "Termíny",
            "T-001;Realizace;Stavba;Průběh;01.03.2026;30.06.2026;02.03.2026;;121;;;T-001-01//"
            ";;;;;;",
            "T-001;Kolaudace;Úřad;Řízení;10.07.2026;20.08.2026;;;41;;;"
            "T-001-02/N-T-001-01/;info;;;;;",
            "F-001;1.Etapa;;Plán;01.03.2026;30.06.2026;;15.07.2026;500,00;0,00;600,00;F-001-01/;"
            "etapa;;;;;"};
        base.WriteLines(QStringLiteral("APr_NameAkce__001.csv"), progress);
        QStringList other = progress;
        other.replaceInStrings(QStringLiteral("001"), QStringLiteral("002"));
        base.WriteLines(QStringLiteral("APr_NameAkce__002.csv"), other);
        LoadProjectRegister(ws, QStringLiteral("NameAkce.csv"));
        LoadProgress(ws, QStringLiteral("APr_NameAkce__001.csv"));
        ws.Current().SetProjectRow(1);
        ws.StartMoment = NowDay();
        ws.Access.Permission = QStringLiteral("3_000");
        ws.config.SetFlag(kFlagFollowLinks, false);
        ws.config.SetFlag(kFlagSyncStages, false);
        ws.config.SetFlag(kFlagWarnBeforeChange, false);
        ws.config.GanttNasobitel = 1.0;
        ws.config.GanttVyskaRadku = 30;
        ws.config.GanttRadky = 0;
        ws.config.GanttSloupce = 0;
        ws.ChangeFlags = QStringLiteral("0000000");
        base.WriteLines(kLog, {QStringLiteral("x")});
    }
    QStringList Records() const { return base.Lines(kLog).mid(1); }
};

QRgb Pixel(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

}  // namespace

class TestDiagram : public QObject {
    Q_OBJECT

  private slots:
    void dragPlanEnd();
    void refusedUserCannotEnterModes();
    void projectChooser();
    void exportsAcrossPages();
    void demoAtThreeZooms();
};

void TestDiagram::dragPlanEnd() {
    Base b;
    Diagram gantt(b.ws, b.links);
    gantt.resize(1200, 600);
    gantt.show();
    QVERIFY(QTest::qWaitForWindowExposed(&gantt));
    gantt.Redraw();
    QWidget* canvas = gantt.Canvas();
    const GanttScale scale = gantt.Interaction().Scale();
    QCOMPARE(scale.Parameters().rowHeight, 30);
    const int planEnd = scale.X(ParseDate(QStringLiteral("30.06.2026")));
    const int y = scale.Y(1) - 5;
    QVERIFY(planEnd > 20 && planEnd + 40 < canvas->width());
    // Before the drag the plan bar ends where the table says.
    QCOMPARE(Pixel(gantt.Pictures().diagram, planEnd - 2, y), QRgb(0x0000FF));
    QCOMPARE(Pixel(gantt.Pictures().diagram, planEnd + 20, y), QRgb(0xFFFFFF));

    gantt.ModeAction(GanttMode::Moves)->trigger();
    QTest::mouseMove(canvas, QPoint(planEnd - 1, y));
    QCOMPARE(canvas->cursor().shape(), Qt::SizeHorCursor);
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(planEnd - 1, y));
    QTest::mouseMove(canvas, QPoint(planEnd + 30, y));
    QVERIFY(gantt.Interaction().Dragging());
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(planEnd + 30, y));
    QVERIFY(!gantt.Interaction().Dragging());

    const QString newEnd = FormatDate(scale.Day(planEnd + 30));
    QCOMPARE(b.ws.Deadlines.Cell(Deadline::PlanStart, 1), QStringLiteral("01.03.2026"));
    QCOMPARE(b.ws.Deadlines.Cell(Deadline::PlanEnd, 1), newEnd);
    const QStringList log = b.Records();
    QCOMPARE(log.size(), 2);
    QVERIFY(log[0].startsWith(QString::fromUtf16(kLabelChangedOld)));
    QVERIFY(log[0].contains(QStringLiteral("30.06.2026")));
    QVERIFY(log[1].startsWith(QString::fromUtf16(kLabelChangedNew)));
    QVERIFY(log[1].contains(newEnd));
    QCOMPARE(b.ws.ChangeFlags.at(1), QChar(u'1'));
    // The redraw shows the longer bar.
    QCOMPARE(Pixel(gantt.Pictures().diagram, planEnd + 20, y), QRgb(0x0000FF));
}

void TestDiagram::refusedUserCannotEnterModes() {
    Base b;
    b.ws.Access.Permission = QStringLiteral("1_000");
    Diagram gantt(b.ws, b.links);
    gantt.resize(1200, 600);
    gantt.show();
    QVERIFY(QTest::qWaitForWindowExposed(&gantt));
    emit gantt.Popup()->aboutToShow();
    for (GanttMode mode : {GanttMode::Moves, GanttMode::Predecessors, GanttMode::Superiors})
        QVERIFY(!gantt.ModeAction(mode)->isEnabled());
    QVERIFY(gantt.ModeAction(GanttMode::None)->isEnabled());
    // No message for the silent check.
    QVERIFY(b.base.prompter.log.isEmpty());

    // A mouse drag then changes nothing.
    QWidget* canvas = gantt.Canvas();
    const GanttScale scale = gantt.Interaction().Scale();
    const int planEnd = scale.X(ParseDate(QStringLiteral("30.06.2026")));
    const int y = scale.Y(1) - 5;
    QTest::mouseMove(canvas, QPoint(planEnd - 1, y));
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(planEnd - 1, y));
    QTest::mouseMove(canvas, QPoint(planEnd + 30, y));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(planEnd + 30, y));
    QCOMPARE(b.ws.Deadlines.Cell(Deadline::PlanEnd, 1), QStringLiteral("30.06.2026"));
    QVERIFY(b.Records().isEmpty());

    // With the right the modes are offered again.
    b.ws.Access.Permission = QStringLiteral("3_000");
    emit gantt.Popup()->aboutToShow();
    QVERIFY(gantt.ModeAction(GanttMode::Moves)->isEnabled());
}

void TestDiagram::projectChooser() {
    Base b;
    Diagram gantt(b.ws, b.links);
    gantt.resize(1200, 600);
    gantt.show();
    QVERIFY(QTest::qWaitForWindowExposed(&gantt));
    auto* chooser = gantt.findChild<QComboBox*>(QStringLiteral("VolbaProjektu"));
    QVERIFY(chooser);
    QCOMPARE(chooser->count(), 2);
    QCOMPARE(chooser->currentText(), QStringLiteral("001/ Silnice Určice"));
    QSignalSpy chosen(&gantt, &Diagram::projectChosen);
    chooser->setCurrentIndex(1);
    emit chooser->textActivated(chooser->currentText());
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(b.ws.Current().ProjectRow(), 2);
    QCOMPARE(b.ws.Current().Row(), 1);
    QCOMPARE(b.ws.Deadlines.Cell(Deadline::KindAndProject, 1), QStringLiteral("T-002"));
    QCOMPARE(gantt.windowTitle(), QStringLiteral("APr_NameAkce__002.csv"));
    // Another window choosing project 001 moves the chooser along.
    b.ws.Current().SetProjectRow(1);
    QCOMPARE(chooser->currentText(), QStringLiteral("001/ Silnice Určice"));
}

void TestDiagram::exportsAcrossPages() {
    Base b;
    // Ten pixels a day: the project's half year needs several pages across.
    b.ws.config.GanttNasobitel = 10.0;
    Diagram gantt(b.ws, b.links);
    gantt.resize(1200, 600);
    const QString png = b.base.Path(QStringLiteral("gantt.png"));
    const QString pdf = b.base.Path(QStringLiteral("gantt.pdf"));
    QVERIFY(gantt.ExportPng(png));
    QVERIFY(gantt.ExportPdf(pdf));
    QImage image(png);
    QVERIFY(!image.isNull());
    // 01.03.2026 to 10.12.2026 (the missing actual end: start-up plus a day),
    // a week either side, and the row labels.
    QCOMPARE(image.width(), Diagram::kLabelWidth + (285 + 14) * 10);
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    const int pages = bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                      bytes.count("/Type /Page ") + bytes.count("/Type /Page/");
    QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
    if (!qEnvironmentVariableIsEmpty("ORVA_GANTT_SHOTS")) {
        const QString dir = qEnvironmentVariable("ORVA_GANTT_SHOTS");
        image.save(dir + QStringLiteral("/export.png"));
        QFile::copy(pdf, dir + QStringLiteral("/export.pdf"));
    }
}

// Pictures of the demo data to look at, when ORVA_GANTT_SHOTS names a folder
// and ORVA_DEMO the demo data folder.
void TestDiagram::demoAtThreeZooms() {
    const QString shots = qEnvironmentVariable("ORVA_GANTT_SHOTS");
    const QString demo = qEnvironmentVariable("ORVA_DEMO");
    if (shots.isEmpty() || demo.isEmpty()) QSKIP("ORVA_GANTT_SHOTS and ORVA_DEMO not set");
    TempBase base;
    Workspace& ws = *base.ws;
    for (const QFileInfo& file : QDir(demo).entryInfoList(QDir::Files))
        QVERIFY(QFile::copy(file.filePath(), base.Path(file.fileName())));
    ws.config.BaseDir = base.Dir();
    QVERIFY(ReadConfiguration(ws.config));
    LoadProjectRegister(ws, ws.config.SouborAkce);
    LoadProgress(ws, ProgressFileName(ws, QStringLiteral("101")));
    ws.Current().SetProjectRow(1);
    ws.StartMoment = NowDay();
    LinkRecorder links(ws);
    Diagram gantt(ws, links);
    gantt.resize(1500, 800);
    gantt.show();
    QVERIFY(QTest::qWaitForWindowExposed(&gantt));
    const struct {
        int zoom;
        int scroll;
        const char* name;
    } levels[] = {{103, 30, "zoom-0.4"}, {119, 35, "zoom-2"}, {259, 45, "zoom-16"}};
    for (const auto& level : levels) {
        gantt.findChild<QSlider*>(QStringLiteral("ZvetseniCasoveOsy"))->setValue(level.zoom);
        gantt.findChild<QScrollBar*>(QStringLiteral("PosunCasu"))->setValue(level.scroll);
        QTest::qWait(200);
        QVERIFY(gantt.grab().save(shots + u'/' + QLatin1String(level.name) + ".png"));
    }
}

QTEST_MAIN(TestDiagram)
#include "tst_diagram.moc"
