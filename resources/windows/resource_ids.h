// Resource ids, shared by the resource script and the program.
#pragma once

#define FORTPAD_ICON_ID 1
