#pragma once

// How much ink the shaded parts of a page take: the colours of the screen, light greys, or none.
enum class Shading { Colour, Grey, None };
