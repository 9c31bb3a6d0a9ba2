// A storage header that reaches up into the field: the check must refuse it.
#pragma once
#include "field/GameField.h"
