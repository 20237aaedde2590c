// The topmost status overlay.
#pragma once

void OpenOverlay();
