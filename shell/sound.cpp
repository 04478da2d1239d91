// placeholder: sound playback
