// A stand-in for varnello-lok that speaks its protocol without LibreOffice, so tests
// can drive the pool of helpers fast and make helpers crash or hang on purpose.
//
//   scripted-helper <program folder> <profile folder>
//
// What it does with a document is written in the document itself (first line):
//   crash            the helper dies while opening it
//   crash-once FILE  dies while opening it unless FILE exists (and creates FILE)
//   crash-saving     opens it, then dies while saving it
//   hang             never answers
//   sleep MS         takes MS milliseconds to open it
//   damaged          cannot open it
//   where            "converts" it: the page holds the path it was to copy it to
//   anything else    "converts" it: the page holds the document's text
// A profile folder under one named "fail-to-start" makes it fail before it is ready.

#include "engine/files/DocumentHandover.h"
#include "engine/protocol/HelperProtocol.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <thread>
#include <fcntl.h>
#include <unistd.h>

namespace {

namespace Word = LibreOfficeHelperProtocol::Word;

void send(const QList<QByteArray>& words)
{
    const QByteArray line = LibreOfficeHelperProtocol::encodeLine(words);
    std::fwrite(line.constData(), 1, line.size(), stdout);
    std::fflush(stdout);
}

// The document handed over for the next "open", as the real helper takes it.
QByteArray readHandedOver(int socket)
{
    const DocumentHandover::Handed handed = DocumentHandover::receive(socket);
    QFile file;
    if (handed.descriptor < 0 || !file.open(handed.descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return QByteArray();
    fcntl(handed.descriptor, F_SETFL, 0);
    return file.readAll();
}

using Documents = std::map<QByteArray, QByteArray>; // id -> text

// Opens as the document's first line says: crash, hang, sleep, fail or keep its text.
void open(const QList<QByteArray>& words, Documents& documents)
{
    const QByteArray text = readHandedOver(qEnvironmentVariableIntValue("VARNELLO_LOK_DOCUMENTS"));
    const QByteArray command = text.split('\n').value(0).trimmed();
    if (command == "crash")
        std::raise(SIGKILL);
    if (command.startsWith("crash-once ")) {
        QFile marker(QFile::decodeName(command.mid(11)));
        if (!marker.exists()) {
            marker.open(QIODevice::WriteOnly);
            marker.close();
            std::raise(SIGKILL);
        }
    }
    if (command == "hang")
        for (;;)
            pause();
    if (command.startsWith("sleep "))
        std::this_thread::sleep_for(std::chrono::milliseconds(command.mid(6).toInt()));
    if (command == "damaged" || text.isNull()) {
        send({Word::Error, "damaged", "scripted failure"});
        return;
    }
    documents[words.value(1)] = command == "where" ? words.value(2) : text;
    send({Word::Ok});
}

void save(const QList<QByteArray>& words, const Documents& documents)
{
    const auto found = documents.find(words.value(1));
    if (found == documents.end()) {
        send({Word::Error, "nodocument", ""});
        return;
    }
    if (found->second.startsWith("crash-saving"))
        std::raise(SIGKILL);
    QFile page(QFile::decodeName(words.value(2)));
    QDir().mkpath(QFileInfo(page).path());
    if (!page.open(QIODevice::WriteOnly)) {
        send({Word::Error, "savefailed", page.errorString().toUtf8()});
        return;
    }
    page.write("<html><head><title></title></head><body><p>" + QString::fromUtf8(found->second).toHtmlEscaped().toUtf8()
               + "</p></body></html>\n");
    page.close();
    send({Word::Ok});
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3)
        return 2;
    if (QByteArray(argv[2]).contains("fail-to-start")) {
        send({Word::Failed, "noloader", "LibreOffice is broken here"});
        return 1;
    }
    send({Word::Ready});
    Documents documents;
    std::string line;
    while (std::getline(std::cin, line)) {
        const QList<QByteArray> words = LibreOfficeHelperProtocol::decodeLine(QByteArray::fromStdString(line));
        const QByteArray& verb = words.value(0);
        if (verb == Word::Open) {
            open(words, documents);
        } else if (verb == Word::Save) {
            save(words, documents);
        } else if (verb == Word::Close) {
            documents.erase(words.value(1));
            send({Word::Ok});
        } else if (verb == Word::Quit) {
            break;
        }
    }
    return 0;
}
