#pragma once

#include "TestSupport.h"

// A base for the diary: projects 101 and 202 with their progress files (101
// with a deadline late from 6 December 2026 and an invoice due on 7 December,
// unpaid), the progress of 101 loaded, the diary folder "Denik/", a user of
// level 3 who is not asked to confirm changes, and a change log of this month.
struct DiaryBase {
    DiaryBase();
    TempBase base;
    Workspace& ws = *base.ws;
    static const QString kLog;
};
