#pragma once

namespace horaku::test
{
extern int comparaisonsTemoin; // the redraws temoin_dessin.cpp has compared so far
}
