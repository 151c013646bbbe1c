// The layers check must refuse this include: the wire does not use the controller.
#include "app/Zorvel.h"
