#include "app/form1.h"

// Browse
void form1::Command10_Click() {}
// View
void form1::Command11_Click() {}
void form1::Removeoutput_Click() {}
void form1::RemoveAllOutput_Click() {}
