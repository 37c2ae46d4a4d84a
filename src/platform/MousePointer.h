#pragma once

#include <cstdint>
#include <vector>

// The main window's mouse pointer: the wait pointer while the window works, else the
// default one. (The numbers are those the pointer has always been known by.)
class MousePointer {
public:
    enum Shape : int16_t { Default = 0, Wait = 11 };

    virtual ~MousePointer() = default;
    virtual void set(Shape pointer) = 0;
};

class QtMousePointer final : public MousePointer {
public:
    ~QtMousePointer() override;
    void set(Shape pointer) override;

private:
    bool waiting = false;
};

