// The layers check must let this include be: admin uses net.
#include "net/QuakeProtocol.h"
