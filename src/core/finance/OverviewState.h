#pragma once

#include "data/ProgressCache.h"

// The project sets of the finance overview.
enum class OverviewSet { One, Group, All };
// How the overview divides its sums: per project and stage, per project and
// year, per measure and year, or into yearly totals.
enum class OverviewDivision { Stages, Years, Measures, Totals };
// What the subsidy percentages apply to: the eligible expenses (total minus
// ineligible) or the amount recognised by the regional office (URR).
enum class SubsidyBase { Eligible = 1, Urr = 2 };

// Invoice date kinds: which finance date decides when an invoice counts.
inline constexpr int kDateDelivery = 1;
inline constexpr int kDateDue = 2;
inline constexpr int kDateApproval = 3;
inline constexpr int kDatePaid = 4;

// The choices of the finance overview and what its computations keep between
// runs. Every window that computes the overview uses these choices; the
// overview window shows and changes them.
struct OverviewState {
    OverviewSet set = OverviewSet::One;
    OverviewDivision division = OverviewDivision::Stages;
    int invoiceDateKind = kDatePaid;
    SubsidyBase base = SubsidyBase::Eligible;
    // The reference day of the last computation (shown by the overview window).
    double referenceDay = 0;
    // Progress files read by the computations; an unchanged file is parsed once.
    ProgressCache files;
};
