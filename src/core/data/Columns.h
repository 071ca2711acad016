#pragma once

// The columns of the five tables, named after what they hold. Column 0 of every
// table is the row number; the enumerators convert to int, so they serve
// directly as the column argument of Table::Cell and Table::SetCell.

namespace Project {
enum Column : int {
    RowNumber = 0,
    Number = 1,  // the key that ties a project to its progress rows
    Name = 2,
    Manager = 3,
    Technician = 4,
    Measure = 5,     // "Opatření"
    Activities = 6,  // for groups: "[101/102]", the member project numbers
    TextDocument = 7,
    Picture = 8,
    Note = 9,
    Percentages = 10,   // "Dotace/ERDF": subsidy share / ERDF share of the subsidy
    PlannedTotal = 11,  // planned total eligible expenditure
    Subsidy = 12,
    Start = 13,
    End = 14,
    Count = 15
};
}

// Columns shared by the deadline and finance tables (the progress rows).
namespace Progress {
enum Column : int {
    RowNumber = 0,
    KindAndProject = 1,  // "T-", "F-", "J-" or "O-" + project number
    Activity = 2,        // "Činnost"
    Classification = 3,  // "Zařazení"
    Step = 4,            // "Proces"
    Identifier = 12,     // "ID-vnitřní": identifier "/" superior "/" predecessor
    Info = 13,
    Note = 14,
    Free = 15,
    TextDocument = 16,
    Picture = 17,
    Count = 18
};
}

namespace Deadline {
enum Column : int {
    RowNumber = Progress::RowNumber,
    KindAndProject = Progress::KindAndProject,
    Activity = Progress::Activity,
    Classification = Progress::Classification,
    Step = Progress::Step,
    PlanStart = 5,
    PlanEnd = 6,
    ActualStart = 7,
    ActualEnd = 8,
    Duration = 9,  // days, integer text
    RealStart = 10,
    RealEnd = 11,
    Identifier = Progress::Identifier,
    Info = Progress::Info,
    Note = Progress::Note,
    Free = Progress::Free,
    TextDocument = Progress::TextDocument,
    Picture = Progress::Picture,
    Count = Progress::Count
};
}

namespace Finance {
enum Column : int {
    RowNumber = Progress::RowNumber,
    KindAndProject = Progress::KindAndProject,
    Activity = Progress::Activity,
    Classification = Progress::Classification,
    Step = Progress::Step,
    StartOrDelivery = 5,     // stage start / invoice delivery
    EndOrDue = 6,            // stage end / invoice due date
    Approval = 7,            // stage / invoice approval
    ProcedureEndOrPaid = 8,  // stage procedure end / invoice payment
    Eligible = 9,            // eligible amount recognised by the regional office
    Ineligible = 10,
    Total = 11,
    Identifier = Progress::Identifier,
    Info = Progress::Info,  // type marker: "etapa", "fakturace" …
    Note = Progress::Note,
    Free = Progress::Free,
    TextDocument = Progress::TextDocument,
    Picture = Progress::Picture,
    Count = Progress::Count
};
}

namespace Template {
enum Column : int {
    RowNumber = 0,
    TemplateKind = 1,  // "Termíny", "Finance", "Jiné" or "Ostatní"
    Activity = 2,
    Classification = 3,
    Step = 4,
    PlanStart = 5,  // columns 5 to 8 are not read when generating
    PlanEnd = 6,
    ActualStart = 7,
    ActualEnd = 8,
    Duration = 9,
    RealStart = 10,
    RealEnd = 11,
    Sequence = 12,  // two-digit sequence written by generation
    Info = 13,
    Marker = 14,  // type marker copied into generated rows
    Note2 = 15,
    TextDocument = 16,
    Count = 17,
    // The template file carries one value more than the grid shows; it is kept
    // beyond the grid's columns and written back by a save.
    FileOnly = 17
};
}

namespace Results {
enum Column : int {
    RowNumber = 0,
    ProjectRow = 1,  // "Řa.Proj."
    Project = 2,
    Object = 3,
    PlanStart = 4,
    PlanEnd = 5,
    PlanState = 6,
    PlanErdf = 7,
    PlanOwn = 8,
    PlanSubsidy = 9,
    PlanDash = 10,
    PlanEligible = 11,
    PlanIneligible = 12,
    PlanTotal = 13,
    State = 14,
    Erdf = 15,
    Own = 16,
    Subsidy = 17,
    EligibleUrr = 18,
    Eligible = 19,
    Ineligible = 20,
    Total = 21,
    InvoiceCount = 22,  // "poč."
    YellowTotal = 23,
    YellowSubsidy = 24,
    AllInvoices = 25,
    SubsidyPercent = 26,
    Count = 27
};
}

// For code that serves every table alike. A table may keep cells one column
// beyond its column count (the template file's extra column); code that copies
// or clears whole rows runs from FirstContent up to and including ColumnCount().
namespace AnyTable {
enum Column : int { RowNumber = 0, FirstContent = 1 };
}
