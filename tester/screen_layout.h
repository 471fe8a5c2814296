/* Where everything stands on the tester screen, in client pixels. */
#ifndef BRELOX_SCREEN_LAYOUT_H
#define BRELOX_SCREEN_LAYOUT_H

#define CELL_WIDTH 8
#define FIELD_X 140
#define CARET_ROW_PORT 80
#define CARET_ROW_SEND 110
#define CARET_WIDTH 8
#define CARET_HEIGHT 2

#define PORT_NAME_Y 67
#define SEND_DATA_Y 96
#define RECEIVE_DATA_Y 126

#endif
