#pragma once

#include <string>

class TEditor;
class TVariavel;
class TRelacionamento;

// What a screen reader says of the model: Portuguese phrases built from the
// objects' fields, numbers with the given decimal separator.

/// "Coelhos, variável contínua, só positivos, nível 0,42"; ", dormindo" is
/// added for a variable that sleeps.
std::string DescribeVariable(const TVariavel& v, char decimalSeparator);
/// The level alone, two decimals: "0,42".
std::string SpokenLevel(long double level, char decimalSeparator);
/// "Caça para Coelhos, taxa, direção oposta, forte"; ", dormindo" when asleep.
std::string DescribeRelationship(const TRelacionamento& r, char decimalSeparator);
/// The time graph in one sentence: each plotted variable with the first,
/// lowest, highest and last level it was plotted at since the graph was cleared.
std::string DescribeGraph(const TEditor& e, char decimalSeparator);
