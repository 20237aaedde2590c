// The recording switch and the two appending steps the input handlers call.
#pragma once

#include <cstdint>

void ToggleRecording();
void StopRecording();
void RecordMousePacket(int32_t dx, int32_t dy, uint32_t pressFlag, uint32_t releaseFlag);
void RecordKeyPress(uint32_t vk);
