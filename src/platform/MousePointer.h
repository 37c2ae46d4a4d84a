#pragma once

#include <cstdint>
#include <vector>

// The main window's mouse pointer: 11 shows the wait pointer, 0 the default one.
class MousePointer {
public:
    static constexpr int16_t Default = 0;
    static constexpr int16_t Wait = 11;

    virtual ~MousePointer() = default;
    virtual void set(int16_t pointer) = 0;
};

class QtMousePointer final : public MousePointer {
public:
    ~QtMousePointer() override;
    void set(int16_t pointer) override;

private:
    bool waiting = false;
};

