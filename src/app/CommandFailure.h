#pragma once

#include <QString>
#include <exception>

class MessageBox;

// Tells the user that a command stopped part-way, and why: a command that fails
// must not look like a button that does nothing.
void reportCommandFailure(MessageBox& messages, const QString& command,
                          const std::exception& error);
