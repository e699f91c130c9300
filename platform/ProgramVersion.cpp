#include "platform/ProgramVersion.h"

std::string VersionText(std::string_view program) {
  return std::string(program) + " " KORVEL_VERSION "\n"
         "Copyright (C) 2026 os desenvolvedores do Korvel\n"
         "Licença GPLv3+: GNU GPL versão 3 ou posterior <https://gnu.org/licenses/gpl.html>.\n"
         "Este é um software livre: você é livre para alterá-lo e redistribuí-lo.\n"
         "NÃO HÁ GARANTIA, na máxima extensão permitida em lei.\n";
}
