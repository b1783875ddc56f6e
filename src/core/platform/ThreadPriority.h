#pragma once

// Lets the calling thread give way to the game's own thread: background work
// (songs rendered ahead) then runs on what the frames leave over and never
// slows a frame on a machine with few cores. Failure is ignored.
void lowerThisThreadPriority();
