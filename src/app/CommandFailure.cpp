#include "app/CommandFailure.h"

#include "platform/MessageBox.h"

void reportCommandFailure(MessageBox& messages, const QString& command,
                          const std::exception& error)
{
    const QString text =
        QStringLiteral("%1 stopped: %2").arg(command, QString::fromLocal8Bit(error.what()));
    qWarning("%s", qPrintable(text));
    messages.show(text, MessageIcon::Critical);
}
