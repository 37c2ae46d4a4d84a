#pragma once

#include "platform/MessageBox.h"

#include <QString>

// Whether the folder a user named can take a run's outputs, and if not, what to
// tell them. Free of widgets, so every front end checks folders the same way.
struct OutputFolderCheck {
    QString folder; // ready for names to be appended: ends in exactly one '/'
    QString message; // empty when the folder is ready
    MessageIcon icon = MessageIcon::None;

    bool ready() const { return message.isEmpty(); }
};

// `text` as the user gave it; `typed` when it was typed rather than picked from the
// list. Only a typed folder is created, and only that one folder: its parent must
// exist. A listed folder that has gone is not made again.
OutputFolderCheck checkOutputFolder(const QString& text, bool typed);
