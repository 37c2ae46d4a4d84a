#include "fakes/RecordingMessageBox.h"

QStringList RecordingMessageBox::texts() const
{
    QStringList result;
    for (const auto& message : shown)
        result << message.text;
    return result;
}
