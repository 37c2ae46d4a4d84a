#include "RtfPictureFields.h"

namespace {

constexpr QByteArrayView FieldInstruction = "\\fldinst";
constexpr QByteArrayView PictureField = "includepicture";
// Of the same length, so nothing else in the document moves.
constexpr char Disarmed[] = "DISARMEDFIELD_";
static_assert(sizeof Disarmed - 1 == PictureField.size());

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Past what may stand between \fldinst and the field's name: blanks, braces, \* and
// control words with their parameter (Word puts its formatting there).
qsizetype fieldNameStart(const QByteArray& rtf, qsizetype at)
{
    while (at < rtf.size()) {
        const char c = rtf[at];
        if (c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == '{' || c == '}') {
            ++at;
        } else if (c == '\\' && at + 1 < rtf.size() && rtf[at + 1] == '*') {
            at += 2;
        } else if (c == '\\' && at + 1 < rtf.size() && isLetter(rtf[at + 1])) {
            ++at;
            while (at < rtf.size() && isLetter(rtf[at]))
                ++at;
            if (at < rtf.size() && rtf[at] == '-')
                ++at;
            while (at < rtf.size() && isDigit(rtf[at]))
                ++at;
            if (at < rtf.size() && rtf[at] == ' ')
                ++at;
        } else {
            break;
        }
    }
    return at;
}

} // namespace

int disarmPictureInclusions(QByteArray& rtf)
{
    int renamed = 0;
    for (qsizetype at = rtf.indexOf(FieldInstruction); at >= 0; at = rtf.indexOf(FieldInstruction, at + 1)) {
        const qsizetype name = fieldNameStart(rtf, at + FieldInstruction.size());
        const qsizetype end = name + PictureField.size();
        if (end > rtf.size() || QByteArrayView(rtf).sliced(name, PictureField.size()).compare(PictureField, Qt::CaseInsensitive) != 0)
            continue;
        if (end < rtf.size() && (isLetter(rtf[end]) || isDigit(rtf[end])))
            continue;
        rtf.replace(name, PictureField.size(), Disarmed);
        ++renamed;
    }
    return renamed;
}

bool isRtf(const QByteArray& start)
{
    return start.startsWith("{\\rtf");
}
