#pragma once
// Resource numbers of the program; designs refer to icons as picture("res:<number>").
#define IDI_CLUTTERWISE 1
#define IDI_LINKPOINTER 2
