#pragma once

#include <functional>

class QWidget;

// The general error handler: runs a command and shows a FileError, or any other
// exception that reaches it, in a critical message box over parent. The command
// stops where the error was raised; whatever it changed before stays. Returns
// true when the command ran to its end.
bool RunCommand(const std::function<void()>& command, QWidget* parent = nullptr);
