#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

/// Width and height of the model canvas of a batch run without a picture:
/// room for any model drawn on a screen, so nothing a file holds is pulled
/// inside. It has no pixels.
inline constexpr int kSimCanvasSize = 4096;
/// The width of that run's graph, which has no pixels either.
inline constexpr int kSimGraphWidth = 800;

/// Runs korvel-sim with these arguments (program name left out): loads the
/// model as the program opens it, animates it as "Animar" does for the asked
/// number of ticks, and writes one CSV row of levels per tick, row 0 holding
/// the levels the animation starts from. Errors go to err as one line.
/// Answers the exit status: 0 done, 1 a file could not be read or written,
/// 2 the command line was refused. A run that saves the model or draws a
/// picture measures text, which needs a QGuiApplication: startText, when
/// given, is called first to make one.
int RunKorvelSim(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 const std::function<void()>& startText = {});
