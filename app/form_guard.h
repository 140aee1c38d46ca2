#pragma once

#include <functional>

class Exception;

// An error that reaches a form's own handler (a text the data layer cannot read, a refused
// statement) shown under "HIBA!".
void ShowError(const Exception& e);

// Runs a form's own event handler. No exception may leave an event handler: an error it raises
// is shown (ShowError) and goes no further, and the form stays open as the handler left it,
// with what was typed. False when the handler failed.
bool RunGuarded(const std::function<void()>& handler);
