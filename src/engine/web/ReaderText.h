#pragma once

#include <QByteArrayView>

// Where LibreOffice puts text that no person wrote for readers, or a person's text
// where a browser does not show it.

// An alt text a program made up: an object's generated name ("Shape1", "Picture 3",
// "DrawObject3", "Frame1") or a file's name or path. A picture with one gets alt="",
// which tells a screen reader it has nothing to say.
bool isGeneratedAltText(QByteArrayView alt);

// A link target that names no frame a browser knows: Word's ScreenTip, which LibreOffice
// writes as the target, where it would open a named window and the tip is lost. It
// belongs in the link's title.
bool isScreenTipTarget(QByteArrayView target);
