#pragma once
// The application's default handler: runs a window handler and, when it stops with a refusal
// or a database error, shows the message; the operation ends where it stood.

#include <functional>

// Returns false when the handler was stopped by an error (already shown to the user).
bool runGuarded(const std::function<void()> &handler);
