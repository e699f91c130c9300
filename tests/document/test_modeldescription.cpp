#include "document/ModelDescription.h"
#include "tests/document/EditorTestSupport.h"

#include <string>

namespace editor_test {
namespace {

class DescriptionTest : public EditorFixture {};

TEST_F(DescriptionTest, ObjectsAreSpokenWithKindRangeStateAndLevel) {
  auto& coelhos = AddRaw<TVarContinua>(200, 200);
  coelhos.SetName("Coelhos");
  coelhos.SetLevel(0.42);
  auto& caca = AddRaw<TVarLigaDesligaQualquerValor>(500, 200);
  caca.SetName("Caça");
  caca.SetLevel(-0.004);
  caca.Awake = false;
  auto& link = AddRawLink(caca, coelhos);
  link.Kind = RelationshipKind::Rate;
  link.SameDirection = false;

  EXPECT_EQ(DescribeVariable(coelhos, ','), "Coelhos, variável contínua, só positivos, nível 0,42");
  EXPECT_EQ(DescribeVariable(caca, '.'),
            "Caça, variável liga-desliga, qualquer valor, dormindo, nível 0.00");
  struct Row {
    double effect;
    bool awake;
    const char* said;
  };
  const Row rows[] = {
      {2.0, true, "Caça para Coelhos, taxa, direção oposta, forte"},
      {0.5, false, "Caça para Coelhos, taxa, direção oposta, fraco, dormindo"},
      {1.5, true, "Caça para Coelhos, taxa, direção oposta, efeito 1,5"},
  };
  for (const Row& row : rows) {
    link.Effect = row.effect;
    link.Awake = row.awake;
    EXPECT_EQ(DescribeRelationship(link, ','), row.said);
  }
}

TEST_F(DescriptionTest, TheGraphSumsUpEachPlottedVariableSinceItWasCleared) {
  EXPECT_EQ(DescribeGraph(editor, ','), "Nenhuma variável desenhada");
  TVariavel& a = Place(200, 200);
  a.PlotInGraph = true;
  Place(500, 200);  // not plotted: not described
  for (const long double level : {0.3L, 0.1L, 0.6L, 0.4L}) {
    a.Level = level;
    editor.PlotStep();
  }
  EXPECT_EQ(DescribeGraph(editor, ','),
            "Gráfico dos níveis. Nome: primeiro 0,30, mínimo 0,10, máximo 0,60, último 0,40");
  editor.ResetGraph();
  EXPECT_EQ(DescribeGraph(editor, ','), "Nenhuma variável desenhada");
}

}  // namespace
}  // namespace editor_test
