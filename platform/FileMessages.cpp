#include "platform/FileMessages.h"

#include <cerrno>
#include <cstdio>

namespace {

struct ErrorText {
  int error;
  const char* text;
};

// Our own table rather than strerror: the C library speaks the locale's
// language, and a school machine runs under LANG=C as often as under pt_BR.
constexpr ErrorText kErrorTexts[] = {
    {EPERM, "operação não permitida"},
    {ENOENT, "arquivo ou pasta inexistente"},
    {ESRCH, "processo inexistente"},
    {EINTR, "chamada de sistema interrompida"},
    {EIO, "erro de entrada e saída no dispositivo"},
    {ENXIO, "dispositivo ou endereço inexistente"},
    {E2BIG, "lista de argumentos longa demais"},
    {EBADF, "descritor de arquivo inválido"},
    {EAGAIN, "recurso temporariamente indisponível"},
    {ENOMEM, "memória insuficiente"},
    {EACCES, "permissão negada"},
    {EFAULT, "endereço inválido"},
    {EBUSY, "dispositivo ou recurso ocupado"},
    {EEXIST, "o arquivo já existe"},
    {EXDEV, "os arquivos estão em sistemas de arquivos diferentes"},
    {ENODEV, "dispositivo inexistente"},
    {ENOTDIR, "uma parte do caminho não é uma pasta"},
    {EISDIR, "é uma pasta"},
    {EINVAL, "argumento inválido"},
    {ENFILE, "arquivos abertos demais no sistema"},
    {EMFILE, "arquivos abertos demais neste programa"},
    {ENOTTY, "o dispositivo não aceita esta operação"},
    {ETXTBSY, "arquivo de programa em uso"},
    {EFBIG, "arquivo grande demais"},
    {ENOSPC, "não há espaço disponível no dispositivo"},
    {ESPIPE, "o arquivo não permite posicionar a leitura ou a gravação"},
    {EROFS, "o sistema de arquivos só permite leitura"},
    {EMLINK, "ligações demais para o mesmo arquivo"},
    {EPIPE, "ninguém mais está lendo o pipe"},
    {ENAMETOOLONG, "nome de arquivo longo demais"},
    {ENOSYS, "função não implementada no sistema"},
    {ENOTEMPTY, "a pasta não está vazia"},
    {ELOOP, "links simbólicos demais no caminho (um link aponta para si mesmo?)"},
    {ENODATA, "nenhum dado disponível"},
    {ETIME, "tempo esgotado"},
    {ENOLINK, "a ligação com o servidor foi perdida"},
    {EOVERFLOW, "valor grande demais para o tipo de dado"},
    {EILSEQ, "sequência de bytes inválida"},
    {ENOTSOCK, "não é um socket"},
    {EOPNOTSUPP, "operação não suportada"},
    {ENETDOWN, "a rede está fora do ar"},
    {ENETUNREACH, "a rede está inacessível"},
    {ECONNABORTED, "conexão interrompida"},
    {ECONNRESET, "conexão reiniciada pelo outro lado"},
    {ENOTCONN, "sem conexão"},
    {ETIMEDOUT, "o tempo de conexão esgotou"},
    {ECONNREFUSED, "conexão recusada"},
    {EHOSTDOWN, "o servidor está fora do ar"},
    {EHOSTUNREACH, "o servidor está inacessível"},
    {ESTALE, "o arquivo de rede não existe mais (referência obsoleta)"},
    {EDQUOT, "a cota de disco foi excedida"},
    {ECANCELED, "operação cancelada"},
    {ENOMEDIUM, "nenhuma mídia no dispositivo"},
    {EMEDIUMTYPE, "tipo de mídia errado"},
    {EKEYEXPIRED, "a chave expirou"},
    {EREMOTEIO, "erro de entrada e saída remota"},
};

std::string Quoted(std::string_view path) { return "\"" + EscapedText(path) + "\""; }

}  // namespace

std::string SystemErrorText(int error) {
  for (const ErrorText& e : kErrorTexts) {
    if (e.error == error) return e.text;
  }
  return "erro do sistema número " + std::to_string(error);
}

std::string EscapedText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    char code[8];
    if (c == '\n' || c == '\r' || c == '\t') {
      escaped += c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\t";
      ++i;
    } else if (c < 0x20 || c == 0x7F) {
      std::snprintf(code, sizeof code, "\\x%02X", c);
      escaped += code;
      ++i;
    } else if (c == 0xC2 && i + 1 < text.size() &&
               static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(text[i + 1]) < 0xA0) {
      // C1 controls: a terminal takes U+009B for the start of a command.
      std::snprintf(code, sizeof code, "\\u00%02X", static_cast<unsigned char>(text[i + 1]));
      escaped += code;
      i += 2;
    } else {
      // Byte by byte: a broken sequence must not carry a control past the checks.
      escaped += static_cast<char>(c);
      ++i;
    }
  }
  return escaped;
}

std::string CannotWriteMessage(std::string_view path, std::string_view reason) {
  return "Não foi possível gravar o arquivo " + Quoted(path) + ": " + std::string(reason);
}

std::string CannotOpenMessage(std::string_view path, std::string_view reason) {
  return "Não foi possível abrir o arquivo " + Quoted(path) + ": " + std::string(reason);
}
