#pragma once

class QWidget;

// The colour, font and printer dialogs. Their operations arrive with the object
// that presents them; until then nothing calls this.
class PickerDialogs {
public:
    virtual ~PickerDialogs() = default;
};

class QtPickerDialogs final : public PickerDialogs {
};

class ScriptedPickerDialogs final : public PickerDialogs {
};
