#include "app/form1.h"

// Shows the settings window.
void form1::Settings_Click() {}
