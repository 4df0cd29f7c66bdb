#include <SDL.h>
#include <stdio.h>
int main(){ if(SDL_InitSubSystem(SDL_INIT_AUDIO)) printf("err %s\n",SDL_GetError()); return 0;}
