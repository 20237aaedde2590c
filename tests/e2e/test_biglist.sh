#!/usr/bin/env bash
# A 1,000,000-event macro through "Add": every event is listed, the last row reads right, and the
# list still answers at its end: selecting there shows the delay, a ticked row goes with "Delete".
source "$(dirname "$0")/harness.sh"
e2e_setup
mkdir -p "$E2E_DRIVE_C/KorvaMacro/Data"
awk 'BEGIN { printf "KORVAMACRO_V1\r\nOUTPUT Big\r\nMACRO_COUNT 1000000\r\n"
    for (i = 0; i < 999999; i++) printf "EV 0 4 %d %d 0 0\r\n", i % 7 - 3, 1
    printf "EV 3 7 0 0 0 65\r\n" }' >"$E2E_DRIVE_C/KorvaMacro/Data/Big.kmc"
e2e_start_app

count() { e2e_probe count KorvaMacro; }
e2e_check "the Open dialog loads Big.kmc" e2e_load_macro 'C:\KorvaMacro\Data\Big.kmc'
e2e_check "every event is listed (got $(count))" test "$(count)" = 1000000
e2e_check "the last row reads right" test "$(e2e_probe item KorvaMacro 999999)" = "999999: Key vk=0x41  delay=7 ms"
e2e_click 100 159
e2e_key End
e2e_check "End selects the last row and shows its delay" e2e_wait_text 5003 0.007
e2e_key Menu
e2e_click 355 293
e2e_check "Delete takes the ticked last row (got $(count))" test "$(count)" = 999999
e2e_check "... and the rows before it stay" test "$(e2e_probe item KorvaMacro 999998)" = "999998: Move dx=3 dy=1  delay=4 ms"
e2e_close_app
e2e_wait_exit
e2e_check "the program ends cleanly (code $E2E_EXIT_CODE)" test "$E2E_EXIT_CODE" = 0
