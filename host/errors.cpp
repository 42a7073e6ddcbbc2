#include "host/errors.h"

#include "host/ansi_text.h"

namespace orvalis {
namespace {

// The run-time library's wording; the source is UTF-8, the program's text is ANSI.
std::string OSErrorMessage(uint32_t code, const std::string& systemText) {
    if (code == 0) {
        return Utf8ToAnsi("Un appel à une fonction du système d'exploitation a échoué");
    }
    // The code is shown as the signed number the run-time library prints.
    return Utf8ToAnsi("Erreur système.  Code : ") + std::to_string(static_cast<int32_t>(code)) +
           ".\r\n" + systemText;
}

std::string RegistryErrorMessage(const std::string& valueName) {
    // The value name is ANSI already: convert only the fixed text around it.
    return Utf8ToAnsi("Echec à la définition des données pour '") + valueName + "'";
}

}  // namespace

EOSError::EOSError(uint32_t code, const std::string& systemText)
    : Exception(OSErrorMessage(code, systemText)), code_(code) {}

ERegistryError::ERegistryError(const std::string& valueName)
    : Exception(RegistryErrorMessage(valueName)) {}

}  // namespace orvalis
