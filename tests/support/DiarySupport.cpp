#include "DiarySupport.h"

#include <QDir>

#include "data/Progress.h"
#include "data/ProjectRegister.h"

const QString DiaryBase::kLog = QStringLiteral("Zmeny_2026-12.csv");

DiaryBase::DiaryBase() {
    base.WriteLines(QStringLiteral("NameAkce.csv"),
                    RegisterLines({kSampleProject101, kSampleProject202}));
    const QStringList progress{
        "Akce ORVA;01.12.2026",
        "Akce - Projekt Číslo ;101",
        "Termíny",
        "T-101;Stavba;Chodník;Výkop;01.12.2026;05.12.2026;01.12.2026;;4;;;T-101-01//;;;;;;",
        "T-101;Dozor;Chodník;Kontrola;01.11.2026;31.12.2026;01.11.2026;;60;;;T-101-02//;;;;;;",
        "F-101;Platba faktura;Stavba;Plnění;01.12.2026;07.12.2026;;;0,00;10,00;100,00;F-101-01/;"
        "fakturace;;;;"};
    base.WriteLines(QStringLiteral("APr_NameAkce__101.csv"), progress);
    base.WriteLines(QStringLiteral("APr_NameAkce__202.csv"),
                    {"Akce ORVA;01.12.2026", "Akce - Projekt Číslo ;202", "Termíny",
                     "T-202;Projekt;Škola;Návrh;01.01.2026;31.12.2027;01.01.2026;;700;;;"
                     "T-202-01//;;;;;;"});
    QDir().mkpath(base.Path(QStringLiteral("Denik")));
    ws.config.CestaDennik = QStringLiteral("Denik/");
    ws.config.UchylkaTerminy = 0;
    ws.config.UchylkaFinance = 0;
    LoadProjectRegister(ws, QStringLiteral("NameAkce.csv"));
    LoadProgress(ws, QStringLiteral("APr_NameAkce__101.csv"));
    ws.Access.Permission = QStringLiteral("3_000");
    ws.config.SetFlag(kFlagWarnBeforeChange, false);
    ws.ChangeFlags = QStringLiteral("0000000");
    base.WriteLines(kLog, {QStringLiteral("x")});
}
