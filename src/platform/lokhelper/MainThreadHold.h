#pragma once

// Keeps LibreOffice's main thread waiting while the helper holds a document.
//
// Whenever the helper is between two calls, that thread takes LibreOffice's lock
// and builds what a person at a screen would see of the open document (sidebar,
// toolbars): as much work as the whole conversion, and none of it needed. Holding
// the lock from before a load until after the close leaves it no such gap; calls
// from this thread take the same lock again, which it allows.
class MainThreadHold {
public:
    // Takes the lock; does nothing when this LibreOffice does not offer it.
    MainThreadHold();
    ~MainThreadHold();
    MainThreadHold(const MainThreadHold&) = delete;
    MainThreadHold& operator=(const MainThreadHold&) = delete;

private:
    unsigned heldCount = 0;
};
