#include "model/CodPlayer.h"

CodPlayer::CodPlayer()
    : CodPlayer(Fields{})
{
}

CodPlayer::CodPlayer(Fields values)
    : fields(std::move(values))
{
}
