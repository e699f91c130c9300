#pragma once

class QWidget;
class TEditor;

// The model canvas and the graph panel as assistive technology sees them.
// The canvas is a container whose children are the variables, then the
// relationships, in list order; each is named by what a pupil needs to
// follow it. Nothing here changes the document.

/// Installs the accessibility factory; once, before the windows are shown.
void InstallModelAccessibility();
/// The document that modelView and graphView show.
void ExposeModel(QWidget* modelView, QWidget* graphView, const TEditor& document);
/// The selected object has the accessible focus, as the keyboard moved it.
void AnnounceSelection(QWidget* modelView);
/// Announces each object whose name or value changed since the last call.
/// Called while the model is stopped, and once when an animation stops.
void AnnounceChanges(QWidget* modelView);
