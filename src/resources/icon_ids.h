// Numbers of the program's built-in icon resources, shared by the resource
// script and the icon loader. A stored icon value 0xFF 0x02 followed by the
// number plus one (low byte first) names one of them.
#pragma once

#define DOVE_ICON_NEXT 32518  // forward arrow of a page button (stored 0x7F07)
#define DOVE_ICON_BACK 32642  // back arrow of a page button (stored 0x7F83)
