#pragma once

// The greeting card: its settings, greeting lines, scene and frame function.

#include "card/CardEventFilter.h"
#include "card/CardFrame.h"
#include "card/CardLanguage.h"
#include "card/CardLink.h"
#include "card/CardParticles.h"
#include "card/CardRandom.h"
#include "card/CardScene.h"
#include "card/CardSender.h"
#include "card/CardSettings.h"
#include "card/CardText.h"
#include "card/CardTime.h"
