// The mouse path editor window.
#pragma once

void OpenPathEditor();
