#pragma once

#include "document/uEditor.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

/// Most ticks one run may ask for: a hundred thousand time units of a
/// classroom model, and a bound on the time and output a typo can cost.
inline constexpr std::int32_t kMaxTicks = 1000000;

/// The one-line synopsis that ends every usage error and starts --help.
inline constexpr const char* kSimUsage =
    "uso: korvel-sim MODELO.KRL [--ticks N] [--method euler|rk4] [--output TABELA.csv] "
    "[--decimal-comma] [--save SAIDA.KRL] [--picture IMAGEM.png|.svg|.pdf [--size LxA]]";

/// What --help prints after the synopsis.
inline constexpr const char* kSimHelp =
    "Abre o modelo como o Korvel abre, aperta \"Animar\" e roda N passos do relógio sem\n"
    "janela; escreve uma linha CSV por passo com o nível de cada variável.\n"
    "  --ticks N              passos a rodar, de 0 a 1000000 (sem a opção, 100)\n"
    "  --method euler|rk4     método de integração no lugar do que o arquivo indica\n"
    "  --output TABELA.csv    grava a tabela num arquivo em vez da saída padrão\n"
    "  --decimal-comma        tabela com vírgula decimal e ponto e vírgula entre\n"
    "                         os campos, como as planilhas em português a abrem\n"
    "  --save SAIDA.KRL       salva o modelo depois dos passos, como \"Salvar\"\n"
    "  --picture IMAGEM       desenha o modelo e o gráfico num .png, .svg ou .pdf\n"
    "  --size LxA             largura e altura do modelo na imagem, de 1 a 4096\n"
    "  -h, --help             mostra esta ajuda\n"
    "      --version          mostra a versão e a licença\n"
    "Os arquivos pedidos aparecem todos juntos, e só quando tudo deu certo; dois\n"
    "deles (ou o modelo e um deles) não podem ser o mesmo arquivo.\n"
    "Saída: 0 pronto, 1 um arquivo não pôde ser lido ou gravado, 2 linha de\n"
    "comando inválida.\n";

/// Largest picture canvas side, the batch canvas's own size.
inline constexpr std::int32_t kMaxPictureSide = 4096;

/// What a korvel-sim command line asks for.
struct SimOptions {
  std::string modelPath;
  std::int32_t ticks = 100;
  /// Empty: the method the model file names.
  std::optional<MethodCode> method;
  /// Empty: the table goes to standard output.
  std::string outputPath;
  /// The table with ';' between fields and the decimal comma.
  bool decimalComma = false;
  /// Empty: the model is not saved.
  std::string savePath;
  /// Empty: no picture is made.
  std::string picturePath;
  /// The picture's model canvas; zero: the default size.
  std::int32_t pictureWidth = 0;
  std::int32_t pictureHeight = 0;
  bool help = false;
  bool version = false;
};

/// The options of a command line, program name left out. Empty when the line
/// is refused, also when two of the files it names are one; error then holds
/// a one-line reason that ends with kSimUsage.
std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& args,
                                          std::string& error);
