// Resource ids shared by the resource script and the window description.
#pragma once

#define IDP_PANEL1 101
#define IDP_PANEL2 102
#define IDP_PANEL3 103
#define IDP_PANEL4 104
#define IDP_QUERY_BUTTON 105
