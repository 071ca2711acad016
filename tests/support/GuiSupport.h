#pragma once

#include <functional>

class QWidget;

// Runs answer on the modal dialog that the caller is about to open; looks for
// it again every 10 ms, attempts times, until the dialog shows.
void AnswerModal(const std::function<void(QWidget*)>& answer, int attempts = 200);
