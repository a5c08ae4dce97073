// The display's frame clock for motion. Where the system composes the
// screen (the desktop window manager), frames follow its composition
// (DwmFlush, the refresh period from DwmGetCompositionTimingInfo; dwmapi is
// loaded at run time); otherwise a waitable timer gives 60 frames a second.
// Window messages run between frames, so a key ends a show within a frame.
#pragma once

namespace tessaly::ui {

// Seconds on the performance counter.
double Now();

// Something drawn once a frame (a surface's motion).
class FrameClient {
 public:
  virtual ~FrameClient() = default;
  // Draws one frame; false when the client wants no more.
  virtual bool Frame() = 0;
};

void AddFrameClient(FrameClient* client);
void RemoveFrameClient(FrameClient* client);
// Whether any client wants frames.
bool FramesWanted();

// Lets messages run until the next frame is due, then draws the clients'
// frames. The transitions' frame wait.
void WaitFrame();
// The message loop's wait while frames are wanted: returns when input
// arrives or a frame is due, drawing the clients' frames in the latter case.
void WaitInputOrFrame();
// Draws the clients' frames when one is due (called from other waits, so
// that a monitor's motion goes on while another runs a transition).
void RunDueFrames();

// How frames are paced: "compositor" or "timer" (60 Hz). The environment
// variable TESSALY_FRAME_CLOCK=timer takes the timer even where a
// compositor is (a diagnostic switch).
const char* FramePacing();
// Seconds between frames.
double FramePeriod();

}  // namespace tessaly::ui
