#!/usr/bin/env python3
"""Writes the demo data folder (examples/demo by default).

Every file is code page 1250 with CR LF line ends, in the layout the program
itself writes, so that the folder looks like a copy of an office's shared data
folder as saved on 1 December 2026. Run it again to remake the files:

    python3 scripts/make-demo-data.py [OUTPUT_DIR]

The output is deterministic: the same script always writes the same bytes.
"""

import datetime as dt
import os
import sys
import zlib

SAVED = dt.date(2026, 12, 1)  # the day the office last saved the files
REGISTER = "NameAkce.csv"
TEMPLATES = "NameUkony.csv"
PEOPLE = "Lide.CSV"
NOTES = "Poznamky.TXT"
VAT_TEXT = "[DPH-20%/-10%]"


# ---------------------------------------------------------------- helpers

def d2s(day):
    """A date cell, dd.mm.yyyy; None is the empty cell."""
    return "" if day is None else day.strftime("%d.%m.%Y")


def amount(value):
    """An amount as the files store it: no thousands separator, decimal comma."""
    return f"{value:.2f}".replace(".", ",")


def row_line(cells, count):
    """count cells, each followed by ';' (a ';' inside a cell is stored as '~')."""
    cells = list(cells) + [""] * (count - len(cells))
    assert len(cells) == count, cells
    return "".join(str(c).replace(";", "~") + ";" for c in cells)


def jitter(*key, spread, low):
    """A small deterministic shift in days, the same on every run."""
    h = zlib.crc32("/".join(map(str, key)).encode("utf-8"))
    return low + h % spread


def round_to(value, step):
    return round(value / step) * step


def write(folder, name, lines):
    path = os.path.join(folder, name)
    with open(path, "w", encoding="cp1250", newline="\r\n") as f:
        for line in lines:
            f.write(line + "\n")
    return path


# ------------------------------------------------------------- the data

# Project numbers begin with the measure's digit (the finance overview groups
# by measure on that digit) and are all three digits wide, so no number is
# ever found inside another one.
PROJECTS = [
    dict(num="101", name="Rekonstrukce silnice II/367 Prostějov - Určice",
         manager="Ing. Petr Novák", tech="Ing. Tomáš Svoboda", measure="1.1",
         activity="Doprava", note="Smlouva o dotaci č. 2025/0412",
         pct="92,5/85", plan=48_600_000, start=dt.date(2025, 2, 3), build=480,
         stages=2, loan=True, tender=False, change=True,
         late=set(), unpaid=set(), paid_late={2}, extra=""),
    dict(num="102", name="Cyklostezka Bečva, úsek Lipník nad Bečvou - Osek",
         manager="Ing. Petr Novák", tech="Bc. Lenka Procházková", measure="1.3",
         activity="Cyklodoprava", note="Souběh s protipovodňovou hrází Povodí Moravy",
         pct="92,5/85", plan=15_200_000, start=dt.date(2025, 4, 1), build=240,
         stages=2, loan=False, tender=False, change=False,
         late={"Kolaudace"}, unpaid=set(), paid_late=set(), extra=""),
    dict(num="103", name="Cyklostezka Morava, Kojetín - Kroměříž",
         manager="Ing. Petr Novák", tech="Ing. Tomáš Svoboda", measure="1.3",
         activity="Cyklodoprava", note="Navazuje na cyklostezku Bečva",
         pct="92,5/85", plan=19_800_000, start=dt.date(2026, 3, 2), build=270,
         stages=2, loan=False, tender=False, change=False,
         late=set(), unpaid=set(), paid_late=set(), extra=""),
    dict(num="104", name="Rekonstrukce mostu ev. č. 4353-1 přes Moštěnku",
         manager="Ing. Petr Novák", tech="Ing. Tomáš Svoboda", measure="1.1",
         activity="Doprava", note="Objízdná trasa po dobu výstavby",
         pct="92,5/85", plan=9_650_000, start=dt.date(2025, 1, 6), build=200,
         stages=1, loan=False, tender=False, change=True,
         late=set(), unpaid=set(), paid_late={2}, extra="O"),
    dict(num="201", name="Přístavba ZŠ Komenského v Přerově",
         manager="Mgr. Jana Dvořáková", tech="Bc. Lenka Procházková", measure="2.1",
         activity="Školství", note="",
         pct="85/85", plan=23_750_000, start=dt.date(2025, 6, 2), build=360,
         stages=2, loan=False, tender=True, change=False,
         late=set(), unpaid={2}, paid_late=set(), extra="O"),
    dict(num="202", name="Modernizace MŠ Zahradní, Hranice",
         manager="Ing. Martin Kučera", tech="Ing. Tomáš Svoboda", measure="2.1",
         activity="Školství", note="Stavba o letních prázdninách",
         pct="85/85", plan=8_900_000, start=dt.date(2026, 1, 5), build=150,
         stages=1, loan=False, tender=False, change=False,
         late=set(), unpaid=set(), paid_late=set(), extra=""),
    dict(num="203", name="Sportovní hala ZŠ Hranice - zateplení a vzduchotechnika",
         manager="Mgr. Jana Dvořáková", tech="Ing. Tomáš Svoboda", measure="2.2",
         activity="Sport", note="Úspora energie min. 30 %",
         pct="85/85", plan=12_500_000, start=dt.date(2026, 6, 1), build=120,
         stages=1, loan=False, tender=False, change=False,
         late=set(), unpaid=set(), paid_late=set(), extra="J"),
    dict(num="204", name="Obnova Muzea Kroměřížska - expozice a depozitář",
         manager="Mgr. Jana Dvořáková", tech="Ing. Tomáš Svoboda", measure="2.3",
         activity="Kultura", note="Památkově chráněný objekt, dozor NPÚ",
         pct="90/85", plan=31_400_000, start=dt.date(2025, 9, 1), build=420,
         stages=3, loan=True, tender=False, change=True,
         late={"Stavební povolení"}, unpaid=set(), paid_late=set(), extra="J"),
    dict(num="205", name="Rekonstrukce kulturního domu Bystřice pod Hostýnem",
         manager="Ing. Martin Kučera", tech="Bc. Lenka Procházková", measure="2.3",
         activity="Kultura", note="",
         pct="90/85", plan=21_450_000, start=dt.date(2026, 9, 1), build=360,
         stages=2, loan=False, tender=False, change=False,
         late=set(), unpaid=set(), paid_late=set(), extra="O"),
    dict(num="301", name="Revitalizace náměstí Míru v Kojetíně",
         manager="Ing. Martin Kučera", tech="Bc. Lenka Procházková", measure="3.1",
         activity="Rozvoj měst", note="Veřejné projednání ve dvou kolech",
         pct="85/85", plan=27_300_000, start=dt.date(2025, 11, 3), build=330,
         stages=2, loan=True, tender=True, change=False,
         late=set(), unpaid=set(), paid_late=set(), extra="J"),
]

# The standard task templates, as the program writes them after loading its
# defaults (cells trimmed, 17 fields).
DEFAULT_TEMPLATES = [
    "Termíny;Financování;Finanční plán;Získání fin. Prostředků;;;;;;;;;;;;",
    "Termíny;Financování;Příprava dotace;Podpis smlouvy ;;;;;360;;;;;;;",
    "Termíny;Financování;Získání úvěru;Podpis smlouvy ;;;;;360;;;;;;;",
    "Termíny;Výber dodavatele;PD/TDI ;Podpis smlouvy ;;;;;90;;;;;;;",
    "Termíny;Výber dodavatele;Stavba;Podpis smlouvy ;;;;;90;;;;;;;",
    "Termíny;Realizace;Stavba;Průběh stavby;;;;;30;;;;;;;",
    "Termíny;Realizace;Stavba;Stavební povolení;;;;;90;;;;;;;",
    "Termíny;Realizace;Stavba;Výstavba;;;;;30;;;;;;;",
    "Termíny;Realizace;Stavba;Kolaudace;;;;;2;;;;;;;",
    "Termíny;Etapa_#_1;;Projednání URR;;;;;30;;;;;;;",
    "Termíny;Etapa_#_2;;Projednání URR;;;;;14;;;;;;;",
    "Termíny;Monitoring_#_1;;Projednání URR;;;;;450;;;;;;;",
    "Termíny;Změnové řízení_#_1;;Schválení VRR;;;;;30;;;;;;;",
    "Finance;Etapa_#_1;;Plán;;;;;0;;;;;etapa;;",
    "Finance;Etapa_#_2;;Plán;;;;;0;;;;;etapa;;",
    "Finance;Platba_Faktura_1 ;;Plnění;;;;;0;;;;;fakturace;;",
]

TEMPLATE_HEADER = ["Akce číslo", "Činnost", "Zařazení", "Upřesnění", "Plán od", "Plán DO",
                   "Skutečnost OD", "Skutečnost DO", "Trvání dny", "Realný termín OD",
                   "Realný termín DO", "ID-vnitřní", "Info", "Poznámka", "Poznámka 2",
                   "Dokument TXT"]

REGISTER_HEADER = ["Číslo akce", "Název akce", "Manager projektu", "Technik projektu",
                   "Opatření", "Aktivity", "Dokument TXT", "Dokument JPG", "Poznámka",
                   "Dotace/ERDF", "Plán celk.způs. Výdajů", "Dotace", "Datum od", "Datum do"]

PEOPLE_LINES = [
    "Novák;Petr;Ing.;Manažer projektu;Člen",
    "Dvořáková;Jana;Mgr.;Manažer projektu;Člen",
    "Kučera;Martin;Ing.;Vedoucí odboru investic;Člen",
    "Svoboda;Tomáš;Ing.;Technik projektu;Člen",
    "Procházková;Lenka;Bc.;Technik projektu;Člen",
    "Veselá;Hana;;Referentka OD INV;Člen\tZapisovatel",
    "Horák;Jiří;Ing. arch.;Autorský dozor;Host",
    "Marek;Pavel;JUDr.;Právní oddělení;Host",
]

NOTES_LINES = [
    "Poznámky k akcím ORVA",
    "",
    "Silnice II/367: faktura Platba_Faktura_2 zaplacena po splatnosti, doložit důvod pro URR.",
    "Cyklostezka Bečva: kolaudace čeká na geometrický plán, urgovat katastrální úřad.",
    "Muzeum: stavební povolení stále není pravomocné, odvolání souseda.",
    "ZŠ Komenského: faktura Platba_Faktura_2 po splatnosti, ověřit s odborem financí.",
    "Kontrola URR na místě plánována na leden 2027.",
    "Před podáním monitorovací zprávy doplnit fotodokumentaci do složky Foto.",
]


# ------------------------------------------------------------ schedules

class Deadline:
    def __init__(self, activity, classification, step, start, end, info="", parent=None):
        self.activity = activity
        self.classification = classification
        self.step = step
        self.plan_from = start
        self.plan_to = end
        self.info = info
        self.actual_from = None
        self.actual_to = None
        self.children = []
        self.parent = parent


def plan_deadlines(p):
    """The project's deadline rows in the order the templates give them."""
    s = p["start"]
    day = lambda n: s + dt.timedelta(days=n)
    rows = [
        Deadline("Financování", "Finanční plán", "Získání fin. Prostředků", day(0), day(45)),
        Deadline("Financování", "Příprava dotace", "Podpis smlouvy", day(30), day(180)),
    ]
    if p["loan"]:
        rows.append(Deadline("Financování", "Získání úvěru", "Podpis smlouvy", day(60), day(180)))
    rows.append(Deadline("Výber dodavatele", "PD/TDI", "Podpis smlouvy", day(15), day(105)))
    if p["tender"]:
        parent = Deadline("Výber dodavatele", "Stavba", "Zadávací řízení", day(120), day(210))
        rows.append(parent)
        for name, a, b in (("Vyhlášení zakázky", 120, 150), ("Hodnocení nabídek", 151, 180),
                           ("Podpis smlouvy", 181, 210)):
            child = Deadline("Výber dodavatele", "Stavba", name, day(a), day(b), parent=parent)
            parent.children.append(child)
            rows.append(child)
    else:
        rows.append(Deadline("Výber dodavatele", "Stavba", "Podpis smlouvy", day(120), day(210)))

    build_from = day(211)
    build_to = build_from + dt.timedelta(days=p["build"])
    handover_from = build_to + dt.timedelta(days=1)
    handover_to = handover_from + dt.timedelta(days=2)
    parent = Deadline("Realizace", "Stavba", "Průběh stavby", day(120), handover_to)
    rows.append(parent)
    for name, a, b in (("Stavební povolení", day(120), day(210)),
                       ("Výstavba", build_from, build_to),
                       ("Kolaudace", handover_from, handover_to)):
        child = Deadline("Realizace", "Stavba", name, a, b, parent=parent)
        parent.children.append(child)
        rows.append(child)

    stages = []
    length = (build_to - build_from).days
    for k in range(p["stages"]):
        a = build_from + dt.timedelta(days=length * k // p["stages"] + (1 if k else 0))
        b = build_from + dt.timedelta(days=length * (k + 1) // p["stages"])
        stages.append((a, b))
        rows.append(Deadline(f"Etapa_#_{k + 1}", "", "Projednání URR", a, b))
    monitor_from = handover_to + dt.timedelta(days=30)
    rows.append(Deadline("Monitoring_#_1", "", "Projednání URR", monitor_from,
                         monitor_from + dt.timedelta(days=180)))
    if p["change"]:
        a = build_from + dt.timedelta(days=p["build"] // 2)
        rows.append(Deadline("Změnové řízení_#_1", "", "Schválení VRR", a, a + dt.timedelta(days=30),
                             info="Prodloužení termínu"))
    return rows, stages, handover_to


def record_progress(p, rows):
    """Actual dates as the office would have entered them by the day of saving."""
    building = next(r for r in rows if r.step == "Výstavba")
    for r in rows:
        if r.children:
            continue
        # A step waits for its predecessor, a stage for the building work.
        if r.parent is not None:
            pos = r.parent.children.index(r)
            if pos and not r.parent.children[pos - 1].actual_to:
                continue
        if r.activity.startswith("Etapa") and not building.actual_from:
            continue
        started = r.plan_from + dt.timedelta(days=jitter(p["num"], r.step, r.activity, "s",
                                                         spread=9, low=-2))
        if started <= SAVED:
            r.actual_from = started
        finished = r.plan_to + dt.timedelta(days=jitter(p["num"], r.step, r.activity, "e",
                                                        spread=15, low=-5))
        if r.step in p["late"] or r.activity in p["late"]:
            r.info = "Zpoždění - viz poznámky"
        elif r.actual_from and finished <= SAVED:
            r.actual_to = max(finished, r.actual_from)
    for r in rows:
        if r.children:
            starts = [c.actual_from for c in r.children if c.actual_from]
            r.actual_from = min(starts) if starts else None
            if all(c.actual_to for c in r.children):
                r.actual_to = max(c.actual_to for c in r.children)


def deadline_lines(p, rows):
    n = p["num"]
    ids = {}
    out = []
    for i, r in enumerate(rows, start=1):
        ids[id(r)] = f"T-{n}-{i:02d}"
    for r in rows:
        own = ids[id(r)]
        if r.parent is None:
            link = own + "//"
        else:
            pos = r.parent.children.index(r)
            pred = "P-" + ids[id(r.parent.children[pos - 1])] if pos else ""
            link = f"{own}/N-{ids[id(r.parent)]}/{pred}"
        duration = (r.plan_to - r.plan_from).days
        real_from = real_to = None
        if r.actual_from:
            real_from = r.actual_from
            real_to = r.actual_to or max(r.actual_from + dt.timedelta(days=duration), SAVED)
        out.append(row_line([
            f"T-{n}", r.activity, r.classification, r.step,
            d2s(r.plan_from), d2s(r.plan_to), d2s(r.actual_from), d2s(r.actual_to),
            str(duration), d2s(real_from), d2s(real_to), link, r.info, p["pct"],
            "", "", "", ""], 18))
    return out


def finance_lines(p, stages, building_started):
    n = p["num"]
    seq = 0
    out = []

    def add(kind, activity, classification, step, dates, urr, inel, total, info, note):
        nonlocal seq
        seq += 1
        out.append(row_line([
            f"{kind}-{n}", activity, classification, step, *map(d2s, dates),
            amount(urr), amount(inel), amount(total), f"{kind}-{n}-{seq:02d}/", info, note,
            "", "", "", ""], 18))

    ineligible = round_to(p["plan"] * 0.04, 1000)
    shares = [1 / len(stages)] * len(stages)
    for k, (a, b) in enumerate(stages):
        eligible = round_to(p["plan"] * shares[k], 100)
        inel = round_to(ineligible * shares[k], 100)
        approved = b + dt.timedelta(days=30)
        closed = b + dt.timedelta(days=90)
        urr = round_to(eligible * 0.985, 100) if closed <= SAVED else eligible
        add("F", f"Etapa_#_{k + 1}", "", "Plán", (a, b, approved, closed),
            urr, inel, eligible + inel, "etapa", p["pct"])

    # Invoices: project documentation first, then one per stage under way.
    invoices = []
    doc_date = p["start"] + dt.timedelta(days=110)
    if doc_date <= SAVED:
        invoices.append(("PD/TDI", doc_date, round_to(p["plan"] * 0.035, 100)))
    for k, (a, b) in enumerate(stages):
        delivered = min(b - dt.timedelta(days=10), SAVED - dt.timedelta(days=12))
        if not building_started or delivered < max(a, building_started) + dt.timedelta(days=20):
            continue
        done = min(1.0, (delivered - a).days / max(1, (b - a).days))
        invoices.append(("Stavba", delivered,
                         round_to(p["plan"] / len(stages) * 0.9 * done, 100)))
    for i, (classification, delivered, total) in enumerate(invoices, start=1):
        due = delivered + dt.timedelta(days=30)
        approved = delivered + dt.timedelta(days=7)
        paid = due - dt.timedelta(days=jitter(n, i, "pay", spread=6, low=1))
        if i in p["paid_late"]:
            paid = due + dt.timedelta(days=25)
        if i in p["unpaid"] or paid > SAVED:
            paid = None
        info = "fakturace" if i % 2 else VAT_TEXT
        if n == "102" and i == 2:
            info = ""  # left empty on purpose: loading fills in the VAT rates text
        inel = round_to(total * 0.03, 100) if classification == "Stavba" else 0
        add("F", f"Platba_Faktura_{i}", classification, "Plnění",
            (delivered, due, approved, paid), 0, inel, total, info,
            f"Fa č. {delivered.year}{jitter(n, i, 'fa', spread=900, low=100):04d}")

    if p["extra"] == "J":
        when = p["start"] + dt.timedelta(days=240)
        add("J", "Publicita", "Informační tabule", "Plnění", (when, when, None, None),
            0, 0, 18500, "", "Povinná publicita ERDF")
    if p["extra"] == "O":
        when = p["start"] + dt.timedelta(days=20)
        add("O", "Poplatky", "Správní poplatky", "Plnění", (when, None, None, None),
            0, 3000, 3000, "", "Žádost o stavební povolení")
    return out


# ---------------------------------------------------------------- files

def make(folder):
    os.makedirs(folder, exist_ok=True)
    written = []
    saved = d2s(SAVED)

    register = [";Uloženo " + saved, "Akce ORVA", row_line(REGISTER_HEADER, 15)]
    for p in PROJECTS:
        rows, stages, handover = plan_deadlines(p)
        record_progress(p, rows)
        project_end = handover + dt.timedelta(days=60)
        subsidy = round_to(p["plan"] * float(p["pct"].split("/")[0].replace(",", ".")) / 100, 0.01)
        register.append(row_line([
            p["num"], p["name"], p["manager"], p["tech"], p["measure"], p["activity"],
            "", "", p["note"], p["pct"], amount(p["plan"]), amount(subsidy),
            d2s(p["start"]), d2s(project_end), ""], 15))
        progress = ["Akce ORVA;" + saved, "Akce - Projekt Číslo ;" + p["num"], "Termíny"]
        progress += deadline_lines(p, rows)
        building = next(r for r in rows if r.step == "Výstavba")
        progress += finance_lines(p, stages, building.actual_from)
        written.append(write(folder, f"APr_NameAkce__{p['num']}.csv", progress))
    written.append(write(folder, REGISTER, register))

    templates = ["Akce ORVA", "Úkony Čas;" + saved, row_line(TEMPLATE_HEADER, 17)]
    for line in DEFAULT_TEMPLATES:
        cells = [c.strip() for c in line.split(";")]
        templates.append(row_line(cells, 17))
    written.append(write(folder, TEMPLATES, templates))

    written.append(write(folder, PEOPLE, PEOPLE_LINES))
    written.append(write(folder, NOTES, NOTES_LINES + [""]))
    written.append(write(folder, "ORVA_Sledovani.Ini", config_lines()))
    return written


def config_lines():
    settings = [
        ("TEST", "Regionální operační program"),
        ("Popis", "SLEDOVÁNÍ AKCÍ"),
        ("Firma", "Úřad Regionální rady"),
        ("Cesta_Ini", ""),
        ("Cesta", ""),
        ("CestaTXT", ""),
        ("CestaFoto", ""),
        ("CestaZmeny", ""),
        ("CestaDennik", ""),
        ("Soubor_Akce_CSV", REGISTER),
        ("Soubor_Popis_CSV", f"APr_NameAkce__{PROJECTS[-1]['num']}.csv"),
        ("Soubor_Ukony_CSV", TEMPLATES),
        ("Soubor_Lidi_csv", PEOPLE),
        ("Soubor_Vysledky_CSV", "Vysledky.csv"),
        ("Soubor_Poznamky_TXT", NOTES),
        ("popis_DPH", "Včetně DPH"),
        ("Vyse_DPH", VAT_TEXT),
        ("Šířka_Sloupce", "68"),
        ("Výška_Řádku", "34"),
        ("Gantt_Výška_Řádku", "23"),
        ("Gantt_Sloupce", "100"),
        ("Gantt_Radky", "0"),
        ("Gantt_PomNásobitel", "15"),
        ("Gantt_Násobitel", "1,00".rjust(18)),
        ("Datum uložení", f"{SAVED.day}.{SAVED.month}.{SAVED.year}"),
        ("Úchylka_Chyby_Termíny", "10"),
        ("Úchylka_Chyby_Finance", "10"),
        ("Doba_nečinnosi_pro_odpojení", "10"),
        ("Graf_Financí", "1" * 29),
        ("Nastavení", "100111111111000000100000000000"),  # project, template, deadline, finance tables shown
    ]
    lines = ["[Nastavení]"] + [f"{k}={v}" for k, v in settings]
    lines += ["[Přístup]", "Pripojen=Volný"]
    return lines


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "examples", "demo")
    for path in make(os.path.normpath(target)):
        print(path)
