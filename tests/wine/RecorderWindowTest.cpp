// The recording switch on the real main window: the Record button, the overlay label, refusals.
#include "app/ControlTable.h"
#include "macro/Recorder_win.h"
#include "tests/wine/WineTestSupport.h"

#include <gtest/gtest.h>

namespace {

class RecorderWindowTest : public InputHandlerTest {
  protected:
    void SetUp() override {
        InputHandlerTest::SetUp();
        overlayRec = CreateWindowExW(0, L"STATIC", L"NO REC", WS_CHILD, 0, 0, 80, 18, window, nullptr,
                                     nullptr, nullptr);
        app.overlayRecLabel = overlayRec;
    }
    void TearDown() override {
        app.overlayRecLabel = nullptr;
        InputHandlerTest::TearDown();
    }
    void ClickRecord() { SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_RECORD, BN_CLICKED), 0); }
    HWND overlayRec = nullptr;
};

} // namespace

TEST_F(RecorderWindowTest, RecordButtonStartsFromAnEmptyMacroAndStopShowsRecord) {
    app.events = {MacroEvent{Key, 0, 0, 0, 0x41, 9}};
    SendMessageW(app.eventList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"old row"));
    ClickRecord();
    EXPECT_TRUE(app.recording);
    EXPECT_TRUE(app.events.empty());
    EXPECT_EQ(app.lastEventTick, fakeNowMs);
    EXPECT_EQ(WindowText(app.recordButton), L"Stop");
    EXPECT_EQ(WindowText(overlayRec), L"REC");
    EXPECT_EQ(SendMessageW(app.eventList, LB_GETCOUNT, 0, 0), 0);

    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_RECORD, BN_DOUBLECLICKED), 0); // other codes: nothing
    EXPECT_TRUE(app.recording);
    ClickRecord();
    EXPECT_FALSE(app.recording);
    EXPECT_EQ(WindowText(app.recordButton), L"Record");
    EXPECT_EQ(WindowText(overlayRec), L"NO REC");
}

TEST_F(RecorderWindowTest, ToggleIsRefusedWhileSwitchedOffButStopRecordingIsNot) {
    app.masterEnabled = false;
    ClickRecord();
    EXPECT_FALSE(app.recording);
    EXPECT_EQ(WindowText(app.recordButton), L"Record");

    app.masterEnabled = true;
    ClickRecord();
    app.holdStateOn = false;
    ClickRecord(); // refused: stays on
    EXPECT_TRUE(app.recording);
    EXPECT_EQ(WindowText(app.recordButton), L"Stop");
    StopRecording();
    EXPECT_FALSE(app.recording);
    EXPECT_EQ(WindowText(app.recordButton), L"Record");
    EXPECT_EQ(WindowText(overlayRec), L"NO REC");
    StopRecording(); // nothing to stop
    EXPECT_FALSE(app.recording);

    // Without the overlay the switch still works.
    app.holdStateOn = true;
    app.overlayRecLabel = nullptr;
    ClickRecord();
    EXPECT_TRUE(app.recording);
    StopRecording();
}
