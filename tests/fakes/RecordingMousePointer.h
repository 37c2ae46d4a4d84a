#pragma once

#include "platform/MousePointer.h"

#include <QStringList>

class RecordingMousePointer final : public MousePointer {
public:
    void set(Shape pointer) override { history.push_back(pointer); }
    int16_t current() const { return history.empty() ? Default : history.back(); }

    std::vector<int16_t> history;
};
