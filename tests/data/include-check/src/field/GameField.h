// Stands for the field model.
#pragma once
