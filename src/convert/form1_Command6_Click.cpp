#include "app/form1.h"

// Convert
void form1::Command6_Click() {}
