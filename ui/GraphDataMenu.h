#pragma once

#include <QString>

class TfEditor;
class TCanvasView;

/// Gives the graph panel its context menu: "Copiar dados", "Salvar dados
/// como..." and "Salvar gráfico como imagem...".
void InstallGraphDataMenu(TfEditor& window, TCanvasView& graph);

/// The run's data on the clipboard: tab-separated, with the user's decimal mark.
void CopyGraphData(TfEditor& window);
/// The run's data as CSV at path, in the style the user's spreadsheet opens.
void SaveGraphDataTo(TfEditor& window, const QString& path);
/// The graph panel's picture as PNG at path.
void SaveGraphPictureTo(TfEditor& window, const QString& path);
