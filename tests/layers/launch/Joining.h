// The layers check must refuse this include: launch does not use net.
#include "net/QuakeProtocol.h"
