#pragma once

#include <QString>
#include <exception>
#include <functional>

class Prompter;
class QWidget;

// The general error handler: runs a command and shows a FileError, or any other
// exception that reaches it, in a critical message box. The command stops where
// the error was raised; whatever it changed before stays. Returns true when the
// command ran to its end.
bool RunCommand(const std::function<void()>& command, QWidget* parent = nullptr);
// The same, reporting through the prompter (the windows use the workspace's).
bool RunCommand(Prompter& prompter, const std::function<void()>& command);

// The message text for an exception that reached the handler.
QString ErrorText(const std::exception& error);
