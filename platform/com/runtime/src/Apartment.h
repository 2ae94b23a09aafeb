// Inside the runtime: whether the calling thread has initialised it.
#pragma once

bool apartmentEntered();
