// This installation's pass phrases on Windows: the registered owner names, the product id seals values.
#include "program_settings.h"
#include "winfuncs.h"

namespace vur {

PassPhrases InstallationPassPhrases() { return {GetRegisteredOwner(), GetProductId()}; }

} // namespace vur
