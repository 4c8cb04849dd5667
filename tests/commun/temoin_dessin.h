// Filled by temoin_dessin.cpp: the redraws it has compared so far.
#pragma once

namespace horaku::test
{
extern int comparaisonsTemoin;
}
