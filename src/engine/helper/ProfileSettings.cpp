#include "ProfileSettings.h"

#include <QDir>
#include <QSaveFile>

namespace {

QByteArray item(const char* path, const QByteArray& property, const char* type, const char* value)
{
    return QByteArray("<item oor:path=\"") + path + "\"><prop oor:name=\"" + property
           + "\" oor:op=\"fuse\" oor:type=\"" + type + "\"><value>" + value + "</value></prop></item>\n";
}

// Word's import filters with their installed flags, less two. "Alien" makes Writer
// try, at every change of a loading document, to set up the VBA event handling of a
// Word document, which fails each time as macros are not loaded; "supports signing"
// makes it verify a document's signatures, which starts the signature services and a
// program to ask for their version. Neither has a part in a web page, and the two cost
// a tenth of a small document's conversion.
QByteArray filterFlagItems(const QHash<QString, QStringList>& installedFlags)
{
    QByteArray xcu;
    QStringList names = installedFlags.keys();
    names.sort(); // the same file for the same installation
    for (const QString& name : names) {
        QStringList flags = installedFlags.value(name);
        flags.removeAll(QStringLiteral("ALIEN"));
        flags.removeAll(QStringLiteral("SUPPORTSSIGNING"));
        const QByteArray path = "/org.openoffice.TypeDetection.Filter/Filters/org.openoffice.TypeDetection.Filter:Filter['"
                                + name.toUtf8() + "']"; // names of letters, digits, blanks and dots
        xcu += item(path.constData(), "Flags", "oor:string-list", flags.join(' ').toUtf8().constData());
    }
    return xcu;
}

// What keeps an untrusted document from acting (no macros, no network, its folder
// untouched), and work a conversion does not need, left undone.
QByteArray settingItems()
{
    QByteArray xcu;
    // Macros in a document never run, whatever the document asks.
    xcu += item("/org.openoffice.Office.Common/Security/Scripting", "MacroSecurityLevel", "xs:int", "3");
    xcu += item("/org.openoffice.Office.Common/Security/Scripting", "DisableMacrosExecution", "xs:boolean", "true");
    // A document's links are never followed, and every web address LibreOffice would
    // still fetch (a web page's style sheets) goes to a proxy that cannot be reached:
    // converting sends nothing over the network.
    xcu += item("/org.openoffice.Office.Common/Security/Scripting", "BlockUntrustedRefererLinks", "xs:boolean", "true");
    xcu += item("/org.openoffice.Inet/Settings", "ooInetProxyType", "xs:int", "1");
    xcu += item("/org.openoffice.Inet/Settings", "ooInetNoProxy", "xs:string", "");
    for (const char* scheme : {"HTTP", "HTTPS", "FTP"}) {
        const QByteArray prefix = QByteArray("ooInet") + scheme;
        xcu += item("/org.openoffice.Inet/Settings", prefix + "ProxyName", "xs:string", "127.0.0.1");
        xcu += item("/org.openoffice.Inet/Settings", prefix + "ProxyPort", "xs:int", "0");
    }
    // Opening a document must leave its folder as it was.
    xcu += item("/org.openoffice.Office.Common/Misc", "UseDocumentOOoLockFile", "xs:boolean", "false");
    xcu += item("/org.openoffice.Office.Common/Misc", "UseDocumentSystemFileLocking", "xs:boolean", "false");
    xcu += item("/org.openoffice.Office.Common/Misc", "UseLocking", "xs:boolean", "false");
    xcu += item("/org.openoffice.Office.Recovery/AutoSave", "Enabled", "xs:boolean", "false");
    xcu += item("/org.openoffice.Office.Recovery/RecoveryInfo", "Enabled", "xs:boolean", "false");
    // Work that only a person at a screen needs.
    xcu += item("/org.openoffice.Office.Linguistic/SpellChecking", "IsSpellAuto", "xs:boolean", "false");
    xcu += item("/org.openoffice.Office.Linguistic/SpellChecking", "IsSpellCapitalization", "xs:boolean", "false");
    xcu += item("/org.openoffice.Office.Writer/Layout/Other", "IsAlignMathObjectsToBaseline", "xs:boolean", "false");
    // Writer collects every word of a loaded document for word completion while it is
    // idle: a tenth of a helper's time on a folder of long documents.
    xcu += item("/org.openoffice.Office.Writer/AutoFunction/Completion", "Enable", "xs:boolean", "false");
    xcu += item("/org.openoffice.Office.Writer/AutoFunction/Completion", "CollectWords", "xs:boolean", "false");
    // A document's macros never run, so their code is not even read in: Writer would
    // otherwise set up Basic and its VBA event handling for every document it loads.
    for (const char* setting : {"Load", "Executable", "Save"})
        xcu += item("/org.openoffice.Office.Writer/Filter/Import/VBA", setting, "xs:boolean", "false");
    // A page never carries a document's macros; looking for some to warn of their loss
    // would set up the document's Basic at every export.
    xcu += item("/org.openoffice.Office.Common/Filter/HTML/Export", "Warning", "xs:boolean", "false");
    // Printer settings a document brings matter only to printing, and asking the
    // system for the printer they name takes time.
    xcu += item("/org.openoffice.Office.Common/Save/Document", "LoadPrinter", "xs:boolean", "false");
    xcu += item("/org.openoffice.Office.Linguistic/GrammarChecking", "IsAutoCheck", "xs:boolean", "false");
    // A web page's pictures are written as their original bytes, but the web page
    // filter decodes each one on the way (to name its file and see whether it is
    // transparent), and LibreOffice keeps a decoded bitmap until it has been idle ten
    // seconds with 300 MB held: a document of fifty photographs held a gigabyte.
    // Bitmaps idle a second are dropped once a few photographs are held; the original
    // bytes stay, so a dropped one is decoded again should it be needed.
    xcu += item("/org.openoffice.Office.Common/Cache/GraphicManager", "GraphicMemoryLimit", "xs:int", "60000000");
    xcu += item("/org.openoffice.Office.Common/Cache/GraphicManager", "GraphicAllowedIdleTime", "xs:int", "0");
    return xcu;
}

} // namespace

QString writeProfileSettings(const QString& profileFolder, const QString& libreOfficeVersion,
                             const QHash<QString, QStringList>& wordFilterFlags)
{
    const QString userFolder = profileFolder + QStringLiteral("/user");
    if (!QDir().mkpath(userFolder))
        return QStringLiteral("cannot create the folder %1").arg(userFolder);

    QByteArray xcu = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
                     "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
                     "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n";
    xcu += settingItems();
    xcu += filterFlagItems(wordFilterFlags);
    // Spares the graphics self-test LibreOffice runs for a profile it takes for new.
    if (!libreOfficeVersion.isEmpty())
        xcu += item("/org.openoffice.Setup/Product", "ooSetupLastVersion", "xs:string",
                    libreOfficeVersion.toLatin1().constData());
    xcu += "</oor:items>\n";

    QSaveFile file(userFolder + QStringLiteral("/registrymodifications.xcu"));
    if (!file.open(QIODevice::WriteOnly) || file.write(xcu) != xcu.size() || !file.commit())
        return file.errorString();
    return {};
}
