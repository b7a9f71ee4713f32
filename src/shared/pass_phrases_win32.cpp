// This installation's pass phrases on Windows: the registered owner names, the product id seals values.
#include "shared/program_settings.h"
#include "shared/winfuncs.h"

namespace vur {

PassPhrases InstallationPassPhrases() { return {GetRegisteredOwner(), GetProductId()}; }

} // namespace vur
